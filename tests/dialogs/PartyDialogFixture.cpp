#include "PartyDialogFixture.h"

#include "ui/NumberBox.h"

#include "UiTesting.h"

#include "WindowLayout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

void PartyDialogFixture::OpenDialog()
{
    opened = FileBytes();
    dialog = std::make_unique<PartyDialog>(path);
    ASSERT_TRUE(dialog->Open());
    UiTesting::ShowActive(*dialog);
}

QString PartyDialogFixture::Text(int id) const
{
    return Control<NumberBox>(id)->Text();
}

void PartyDialogFixture::Type(int id, const QString& text)
{
    UiTesting::TypeOver(*Control<QWidget>(id), text);
}

void PartyDialogFixture::Choose(int id, int index)
{
    UiTesting::ChooseEntry(*Control<QComboBox>(id), index);
}

int PartyDialogFixture::Chosen(int id) const
{
    return Control<QComboBox>(id)->currentIndex();
}

QString PartyDialogFixture::ChosenText(int id) const
{
    return Control<QComboBox>(id)->currentText();
}

void PartyDialogFixture::Click(int id)
{
    QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton);
}

std::int64_t PartyDialogFixture::WindowValue(const Bytes& file, int windowOffset, int width)
{
    const std::size_t at = SaveBuilder().PartyOffset() + static_cast<std::size_t>(windowOffset);
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | file.at(at + static_cast<std::size_t>(i));
    const int unused = 64 - 8 * width;
    return static_cast<std::int64_t>(value << unused) >> unused;
}

int PartyDialogFixture::SpellOffset(int k)
{
    return WindowLayout::PartyRecordOffset + WindowLayout::PartySpellsOffset + k * SpellEffectLayout::Size;
}
