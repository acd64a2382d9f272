#include "combobox.h"

#include <QAbstractItemView>

ComboBox::ComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void ComboBox::showPopup()
{
    view()->setMinimumSize(200, 150);
    QComboBox::showPopup();
}
