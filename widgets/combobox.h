#ifndef COMBOBOX_H
#define COMBOBOX_H

#include <QComboBox>

// A combo box whose list opens at least 200 x 150 pixels, large enough to
// show icons even when the box sits in a narrow table cell.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget *parent = nullptr);

    void showPopup() override;
};

#endif // COMBOBOX_H
