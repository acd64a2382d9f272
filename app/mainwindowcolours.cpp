// The names of the colours in use, as the key gives them: shown in the
// Colors Used list, and given there by a double-click or the list's
// context menu.

#include "mainwindow.h"

#include "document.h"
#include "ui_mainwindowclass.h"
#include "usedcolordelegate.h"

#include <QHash>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

void MainWindow::setupColourNaming()
{
    QListWidget *list = ui->colorsUsed;
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { nameColour(item->data(Qt::UserRole).value<QColor>()); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint &pos) {
        const QListWidgetItem *item = list->itemAt(pos);
        if (!item || !currentDocument())
            return;
        // The list may be filled anew while the menu is open; the colour
        // stays.
        const QColor colour = item->data(Qt::UserRole).value<QColor>();
        QMenu menu(list);
        const QAction *name = menu.addAction(tr("Name Colour..."));
        if (menu.exec(list->viewport()->mapToGlobal(pos)) == name)
            nameColour(colour);
    });
}

void MainWindow::updateColourNames()
{
    QHash<QRgb, QString> names;
    if (const Document *doc = currentDocument()) {
        for (const ColourNames::Named &colour : doc->namedColours())
            names.insert(colour.colour.rgba(), colour.name);
    }
    QListWidget *list = ui->colorsUsed;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const QColor colour = item->data(Qt::UserRole).value<QColor>();
        const QString name = names.value(colour.rgba());
        item->setData(UsedColorDelegate::nameRole, name);
        item->setToolTip(name.isEmpty() ? colour.name() : QStringLiteral("%1 (%2)").arg(name, colour.name()));
    }
}

void MainWindow::nameColour(const QColor &colour)
{
    Document *doc = currentDocument();
    if (!doc || !colour.isValid())
        return;
    QString current;
    for (const ColourNames::Named &named : doc->namedColours()) {
        if (named.colour.rgba() == colour.rgba())
            current = named.name;
    }
    QInputDialog dialog(this);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(tr("Name Colour"));
    dialog.setLabelText(tr("Name this colour in the key (for example MC or CC1):"));
    dialog.setTextValue(current);
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setMaxLength(ColourNames::longestName);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A default left as it stands stays a default.
    const QString name = ColourNames::cleaned(dialog.textValue());
    if (name != current)
        doc->setColourName(colour, name);
}
