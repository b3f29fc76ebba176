#pragma once

#include "dialogs/CharacterPage.h"

#include <QIcon>
#include <QString>

#include <array>

class QPushButton;

// The "Stats" tab: name, portrait, class, level, age, experience, statistics,
// resistances, hit and spell points, armour-class modifier, skill points, description.
class CVelkarPage1 : public CharacterPage {
    Q_OBJECT

public:
    // Control ids.
    enum : int {
        IdFace = 1018,
        IdName = 1005,
        IdLevel = 1007,
        IdBaseLevel = 1008,
        IdAge = 1072,
        IdBaseAge = 1009,
        IdClass = 1062,
        IdExperience = 1073,
        IdMight = 1010,
        IdIntelligence = 1011,
        IdPerception = 1012,
        IdEndurance = 1013,
        IdAccuracy = 1014,
        IdSpeed = 1015,
        IdLuck = 1016,
        IdFireResistance = 1081,
        IdAirResistance = 1087,
        IdWaterResistance = 1024,
        IdEarthResistance = 1025,
        IdMindResistance = 1027,
        IdBodyResistance = 1028,
        IdHitPoints = 1078,
        IdSpellPoints = 1079,
        IdArmorClassModifier = 1080,
        IdSkillPoints = 1084,
        IdDescription = 1212,
    };

    static constexpr int PortraitCount = 28;
    static constexpr int NameLength = 31;
    static constexpr int DescriptionLength = 649;

    CVelkarPage1(SaveGame& save, int n);

    // The bound controls, one per row of the page's table.
    static constexpr int ControlCount = 26;

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    void BuildControls();
    void OnPortraitClicked();
    void ShowPortrait(int face);

    // The game's named classes, in number order, each entry carrying its number.
    void FillClasses();
    // The Class list's entry for a stored class: the one carrying it, or the extra entry after the last.
    int ClassEntry(int stored);

    std::array<int, ControlCount> values_{};
    std::vector<int> classNumbers_; // by entry of the Class list
    int unknownClass_ = 0;          // what the extra entry "Class N" carries
    QString name_;
    QString description_;
    QPushButton* portraitButton_ = nullptr;
    // Icons from the files: on a high-DPI screen they take the @2x pictures.
    std::array<QIcon, PortraitCount> portraits_;
    QIcon noPortrait_;
};
