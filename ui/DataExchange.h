#pragma once

#include "text/TextCodec.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

class QWidget;

// A dialog's table of bindings between control ids and its value members, in the
// dialog's exchange order. Show() puts the members into the controls; Read() takes the
// controls into the members with each binding's check and stops at the first failure.
// Every binding must find its control (std::logic_error otherwise).
class DataExchange {
public:
    enum class Check {
        None,     // lists, check boxes, texts without a limit, bound buttons
        Integer,  // a signed 32-bit whole number
        Positive, // a whole number without sign
        Range,    // an integer between Minimum and Maximum
        GameText, // a text the game's code page stores in at most Maximum bytes
    };

    using Member = std::variant<std::monostate, int*, QString*>;

    struct Binding {
        int id = 0;
        Member member;
        Check check = Check::None;
        int minimum = 0;
        int maximum = 0;
        const char* subject = nullptr; // a game text's name in messages: "name"
    };

    static Binding Integer(int id, int& member);
    static Binding Positive(int id, int& member);
    static Binding Range(int id, int& member, int minimum, int maximum);
    static Binding Text(int id, QString& member);
    // A text of the saved game, in the exchange's codec (SetCodec).
    static Binding GameText(int id, QString& member, int maxBytes, const char* subject);
    // A drop-down list (selected position) or a check box (0 or 1).
    static Binding Choice(int id, int& member);
    // A control that takes part in the order but holds no value.
    static Binding Control(int id);

    explicit DataExchange(QWidget& owner);

    // The saved game's code page, which game texts are checked against; Western until set.
    void SetCodec(const TextCodec& codec) { codec_ = codec; }
    const TextCodec& Codec() const { return codec_; }

    void SetBindings(std::vector<Binding> bindings);
    const std::vector<Binding>& Bindings() const { return bindings_; }

    // The control with this id among the owner's children, or null.
    QWidget* Find(int id) const;
    // The same, for a bound control: throws std::logic_error when there is none, so that a
    // typo in a table is never a field silently left out.
    QWidget& Bound(int id) const;

    void Show();
    // Shows only the bindings of these ids (a part of the dialog reloaded while the others
    // keep what the user typed).
    void Show(const std::vector<int>& ids);
    bool Read();
    // A skipped binding is shown but neither read nor checked: its member keeps its value
    // (for a control the dialog hides). Throws std::logic_error for an id that names no
    // binding, as Changed does.
    void SetSkipped(int id, bool skipped);
    // Whether the member bound to id now differs from its reference: what its control showed
    // after the last Show(), or what Remember() last took. Numbers compare as numbers, texts
    // as texts, lists by position. A store writes only such fields, so whatever else the file
    // holds stays as it is. A value equal to its reference is not checked again either: what
    // the game left in a field never keeps the user from leaving it.
    bool Changed(int id) const;
    // After a store: the members become their references, but for one whose check failed in
    // the last reading, which must be corrected before it counts as stored, and for those of
    // unstored (ids the store had to leave out), which keep counting as changed.
    void Remember(const std::vector<int>& unstored = {});
    // A second reading right after Read(): a failure identical to the one Read()
    // reported is not shown again, but its control still gets the focus.
    bool Recheck();

private:
    struct Failure {
        int id = 0;
        QString message;
        bool operator==(const Failure&) const = default;
    };

    // The binding of id; throws std::logic_error when there is none, so that a typo in a
    // store is never a field silently left unwritten.
    std::size_t IndexOf(int id) const;
    bool ReadAll(bool repeat);
    bool ReadOne(std::size_t index, QString& message);
    void ShowOne(const Binding& binding);
    void Focus(int id);

    using Value = std::variant<std::monostate, int, QString>;
    static Value ValueOf(const Binding& binding);
    // What Read() would take from the control, without checks or messages.
    Value Shown(const Binding& binding) const;

    QWidget& owner_;
    TextCodec codec_;
    std::vector<Binding> bindings_;
    std::vector<Value> reference_;      // by binding
    std::vector<bool> skipped_;         // by binding
    std::optional<std::size_t> failed_; // the binding whose check failed in the last reading
    std::optional<Failure> lastFailure_;
};
