#include "ui_mainwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QGridLayout>
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

QIcon iconFrom(const QString& resourcePath)
{
    QIcon icon;
    icon.addFile(resourcePath, QSize(), QIcon::Normal, QIcon::Off);
    return icon;
}

QAction* makeAction(QMainWindow* window, const char* name, const QString& iconPath)
{
    auto* action = new QAction(window);
    action->setObjectName(name);
    action->setIcon(iconFrom(iconPath));
    return action;
}

} // namespace

namespace Ui {

void MainWindow::setupUi(QMainWindow* MainWindow)
{
    if (MainWindow->objectName().isEmpty())
        MainWindow->setObjectName("MainWindow");
    MainWindow->resize(960, 663);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    policy.setHeightForWidth(MainWindow->sizePolicy().hasHeightForWidth());
    MainWindow->setSizePolicy(policy);
    MainWindow->setWindowIcon(iconFrom(":/Window Logo/logo.png"));
    MainWindow->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    actionLoad_Image = makeAction(MainWindow, "actionLoad_Image", ":/File/open_icon.png");
    actionLoad_Image->setCheckable(false);
    actionLoad_Image->setEnabled(true);
    actionSave_Image = makeAction(MainWindow, "actionSave_Image", ":/File/save_icon.png");
    actionSave_Image->setEnabled(false);
    actionAbout = makeAction(MainWindow, "actionAbout", ":/About/about_logo.png");

    centralWidget = new QWidget(MainWindow);
    centralWidget->setObjectName("centralWidget");
    gridLayout = new QGridLayout(centralWidget);
    gridLayout->setSpacing(6);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setObjectName("gridLayout");
    mdiArea = new QMdiArea(centralWidget);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setContextMenuPolicy(Qt::PreventContextMenu);
    gridLayout->addWidget(mdiArea, 0, 0, 2, 2);
    MainWindow->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(MainWindow);
    menuBar->setObjectName("menuBar");
    menuBar->setGeometry(QRect(0, 0, 960, 21));
    MainWindow->setMenuBar(menuBar);
    mainToolBar = new QToolBar(MainWindow);
    mainToolBar->setObjectName("mainToolBar");
    mainToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    mainToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    MainWindow->addToolBar(Qt::TopToolBarArea, mainToolBar);
    statusBar = new QStatusBar(MainWindow);
    statusBar->setObjectName("statusBar");
    MainWindow->setStatusBar(statusBar);

    mainToolBar->addAction(actionLoad_Image);
    mainToolBar->addAction(actionSave_Image);
    mainToolBar->addSeparator();
    mainToolBar->addAction(actionAbout);

    retranslateUi(MainWindow);
    QMetaObject::connectSlotsByName(MainWindow);
}

void MainWindow::retranslateUi(QMainWindow* MainWindow)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("MainWindow", text); };
    MainWindow->setWindowTitle(tr("Zentavo"));
    actionLoad_Image->setText(tr("Load Image"));
    actionLoad_Image->setShortcut(QKeySequence(tr("Ctrl+O")));
    actionSave_Image->setText(tr("Save Image"));
    actionSave_Image->setShortcut(QKeySequence(tr("Ctrl+S")));
    actionAbout->setText(tr("About..."));
    actionAbout->setIconText(tr("About..."));
    actionAbout->setToolTip(tr("About"));
}

} // namespace Ui
