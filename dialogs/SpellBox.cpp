#include "dialogs/SpellBox.h"

SpellBox::SpellBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{}

void SpellBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
