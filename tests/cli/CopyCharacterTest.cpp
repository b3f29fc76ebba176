// copy-character: the character arrives as show printed it, its times to the tick; nothing
// but its own bytes changes.

#include "tests/cli/CliFixture.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"

#include <QJsonArray>

namespace {

struct CopyCase {
    bool sameFile;
    int n;
    int m;
};

class CopyCharacterTest : public CliFixture {
protected:
    QJsonObject Character(const std::filesystem::path& save, int n) const
    {
        QJsonObject character = Show(save, {"--character", QString::number(n)})["characters"][0].toObject();
        character.remove("Number");
        return character;
    }
};

} // namespace

TEST_F(CopyCharacterTest, TheCharacterArrivesAsItWasAndNothingElseChanges)
{
    // The target's clock is later by two years, a few days and a part of a minute.
    const std::int64_t later = kNow + Ticks(2 * 12 * 28 + 3, 4, 5) + 70;
    // The record's own bytes start with the first condition, 4 bytes before the record.
    const int first = Inside("ConditionCursed");
    const int dead = Inside("ConditionDead");
    const int bless = Inside("ActiveSpellBless");
    const int haste = Inside("ActiveSpellHaste");
    const CopyCase cases[] = {{false, 4, 9}, {true, 4, 9}, {true, 7, 7}};
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sameFile << " " << c.n << " " << c.m);
        SaveBuilder source = Played(31);
        source.Put(Record(c.n, dead), 8, kNow - Ticks(1, 2, 3) - 250);
        source.Put(Record(c.n, bless), 8, kNow + Ticks(0, 5, 6) + 3);
        source.Put(Record(c.n, first), 8, 0); // never cursed
        source.Put(Record(c.n, haste), 8, 0); // never hasted
        const std::filesystem::path from = Write(source, "save000.dod");
        SaveBuilder target = Played(32);
        target.Put(Window("Time"), 8, later);
        const std::filesystem::path to = c.sameFile ? from : Write(target, "save001.dod");
        const std::int64_t shift = c.sameFile ? 0 : later - kNow;
        const std::uint32_t partyOffset = (c.sameFile ? source : target).PartyOffset();

        const QJsonObject copied = Character(from, c.n);
        const QString name = copied["Name"].toString();
        const QString replaced = Character(to, c.m)["Name"].toString();
        const std::vector<std::uint8_t> before = ReadBytes(to);
        const Result result = Run({"copy-character", Text(from), QString::number(c.n), Text(to), QString::number(c.m)});
        ASSERT_EQ(result.status, 0) << result.error.toStdString();
        EXPECT_EQ(QString::fromUtf8(result.out),
                  QStringLiteral("Copied \"%1\" (character %2 of %3) over \"%4\" (character %5 of %6)\n")
                      .arg(name)
                      .arg(c.n)
                      .arg(Text(from), replaced)
                      .arg(c.m)
                      .arg(Text(to)));

        EXPECT_EQ(Character(to, c.m), copied);
        const std::vector<std::uint8_t> after = ReadBytes(to);
        ASSERT_EQ(after.size(), before.size());
        const std::size_t own = partyOffset + static_cast<std::size_t>(Record(c.m, first));
        for (std::size_t i = 0; i < after.size(); ++i)
            EXPECT_TRUE(after[i] == before[i] || (i >= own && i < own + TranscribedLayout::RecordSize))
                << "file byte " << i;
        const auto at = [&](int offset) { return own + static_cast<std::size_t>(offset - first); };
        EXPECT_EQ(LoadLE(after, at(dead), 8), kNow - Ticks(1, 2, 3) - 250 + shift);
        EXPECT_EQ(LoadLE(after, at(bless), 8), kNow + Ticks(0, 5, 6) + 3 + shift);
        EXPECT_EQ(LoadLE(after, at(first), 8), 0);
        EXPECT_EQ(LoadLE(after, at(haste), 8), 0);
    }
}
