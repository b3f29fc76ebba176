#include "tests/dialogs/PartyDialogFixture.h"

#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include "tests/support/TranscribedLayout.h"

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

int PartyDialogFixture::SpellOffset(int k)
{
    const TranscribedLayout::Row& first = TranscribedLayout::Named("PartySpellAirRes");
    return first.offset + k * first.width;
}
