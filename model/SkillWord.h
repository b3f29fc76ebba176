#pragma once

// A stored skill word: the level in bits 0-5, the mastery one-hot in bits 6-8 (Expert 0x40,
// Master 0x80, Grand 0x100). Masteries are the rows of Vocabulary::MasteryNames.
class SkillWord {
public:
    static constexpr int LevelMask = 0x3F;
    static constexpr int MasteryShift = 6;
    static constexpr int Novice = 0;
    static constexpr int Expert = 1;
    static constexpr int Master = 2;
    static constexpr int Grand = 3;
    static constexpr int GrandCode = 4;

    static constexpr int Level(int word) { return word & LevelMask; }

    // As the game reads a word, highest bit first, so every word shows a mastery and a
    // Master (whatever lower bits ride along) is never raised to Grand.
    static constexpr int Mastery(int word)
    {
        const int code = (word >> MasteryShift) & 7;
        if ((code & GrandCode) != 0)
            return Grand;
        if ((code & Master) != 0)
            return Master;
        return (code & Expert) != 0 ? Expert : Novice;
    }

    // The word the Skills tab writes: the level and the mastery's one bit, nothing else.
    static constexpr int Compose(int level, int mastery)
    {
        const int code = mastery == Grand ? GrandCode : mastery;
        return level | (code << MasteryShift);
    }
};
