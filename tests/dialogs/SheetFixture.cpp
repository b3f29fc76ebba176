#include "tests/dialogs/SheetFixture.h"

#include "ui/NumberBox.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/ui/UiTesting.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <fstream>

void SheetFixture::SetUp()
{
    path = folder / "save003.dod";
    SaveBuilder().WriteTo(path);
    ASSERT_TRUE(save.Open(path));
}

void SheetFixture::Prepare(const std::function<void(SaveGame&)>& edits)
{
    edits(save);
    save.Save();
}

void SheetFixture::Speak(const GameWords& words)
{
    ASSERT_TRUE(save.Open(path, words));
}

GameWords SheetFixture::InPage(TextCodec::Page page)
{
    GameWords words = GameWords::BuiltIn();
    words.SetCodePage(TextCodec::Key(page).toStdString());
    return words;
}

void SheetFixture::OpenSheet()
{
    opened = FileBytes();
    sheet = std::make_unique<CVelkarSheet>(save, N, QStringLiteral("save003.dod"));
    UiTesting::ShowActive(*sheet);
}

NumberBox* SheetFixture::Box(int id) const
{
    return Control<NumberBox>(id);
}

void SheetFixture::Type(int id, const QString& text)
{
    UiTesting::TypeOver(*Control<QWidget>(id), text);
}

void SheetFixture::Tab(int index)
{
    UiTesting::ClickTab(*sheet->TabBar(), index);
}

void SheetFixture::Click(QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(sheet->Button(which), Qt::LeftButton);
}

void SheetFixture::PatchFile(int windowOffset, std::string_view bytes)
{
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(SaveBuilder().PartyOffset()) + windowOffset);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    save.Reload();
}

SheetFixture::Bytes SheetFixture::FileBytes() const
{
    return ReadBytes(path);
}

std::int64_t SheetFixture::WindowValue(const Bytes& file, int windowOffset, int width)
{
    return LoadLE(file, SaveBuilder().PartyOffset() + static_cast<std::size_t>(windowOffset), width);
}

std::int64_t SheetFixture::ModelValue(int windowOffset, int width) const
{
    return LoadLE(save.GetWindow(), static_cast<std::size_t>(windowOffset), width);
}

SheetFixture::Bytes SheetFixture::Expected(const std::function<void(SaveGame&)>& edits) const
{
    const std::filesystem::path copy = folder / "expected.dod";
    WriteBytes(copy, opened);
    SaveGame model;
    if (!model.Open(copy))
        return {};
    edits(model);
    model.Save();
    return ReadBytes(copy);
}
