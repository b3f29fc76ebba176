#pragma once

#include "ui/ControlId.h"
#include <QString>
#include <QWidget>

class PropertySheet;

// One tab of a PropertySheet. Its controls are built on its first activation or before, in
// the sheet's idle time; the sheet then drives activation, deactivation (which may refuse)
// and Apply, the last only once the page has been activated.
class PropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit PropertyPage(const QString& title, QWidget* parent = nullptr);
    ~PropertyPage() override;

    const QString& Title() const { return title_; }
    bool IsCreated() const { return created_; }
    bool WasActivated() const { return activated_; }

    // Controls are found by id: the id in decimal is the control's object name.
    template <class T>
    T* Control(int id) const
    {
        return ControlId::Find<T>(*this, id);
    }

protected:
    // One-time set-up: build the controls, spin ranges, images, lists.
    virtual void OnCreate() {}
    virtual void OnSetActive() {}
    // False keeps the tab current.
    virtual bool OnKillActive() { return true; }
    virtual void OnApply() {}

    void SetModified(bool changed = true);

private:
    friend class PropertySheet;
    void Create();

    QString title_;
    PropertySheet* sheet_ = nullptr;
    bool created_ = false;
    bool activated_ = false;
};
