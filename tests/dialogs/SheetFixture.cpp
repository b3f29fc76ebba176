#include "tests/dialogs/SheetFixture.h"

#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

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
    return ReadAll(path);
}

namespace {

std::int64_t ReadLE(std::span<const std::uint8_t> bytes, std::size_t at, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    const int unused = 64 - 8 * width;
    return static_cast<std::int64_t>(value << unused) >> unused;
}

} // namespace

std::int64_t SheetFixture::WindowValue(const Bytes& file, int windowOffset, int width)
{
    const std::size_t at = SaveBuilder().PartyOffset() + static_cast<std::size_t>(windowOffset);
    if (at + static_cast<std::size_t>(width) > file.size())
        throw std::out_of_range("outside the file");
    return ReadLE(file, at, width);
}

std::int64_t SheetFixture::ModelValue(int windowOffset, int width) const
{
    return ReadLE(save.GetWindow(), static_cast<std::size_t>(windowOffset), width);
}

SheetFixture::Bytes SheetFixture::Expected(const std::function<void(SaveGame&)>& edits) const
{
    const std::filesystem::path copy = folder / "expected.dod";
    {
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(opened.data()), static_cast<std::streamsize>(opened.size()));
    }
    SaveGame model;
    if (!model.Open(copy))
        return {};
    edits(model);
    model.Save();
    return ReadAll(copy);
}
