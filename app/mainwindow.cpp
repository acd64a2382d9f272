#include "mainwindow.h"

#include "stitchset.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QApplication::applicationName());
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));

    auto *welcome = new QLabel(this);
    welcome->setAlignment(Qt::AlignCenter);
    welcome->setText(tr("<h2>Yarnwise</h2><p>%1 stitches are ready in %2 categories.</p>")
                         .arg(StitchSet::instance()->stitches().size())
                         .arg(StitchSet::instance()->categories().size()));
    setCentralWidget(welcome);
    resize(900, 640);
}

bool MainWindow::openFile(const QString &path, bool fromTemporaryCopy)
{
    Q_UNUSED(fromTemporaryCopy);
    QMessageBox::warning(this, tr("Open File"),
                         tr("%1 could not be opened: this version cannot read pattern files yet.").arg(path));
    return false;
}
