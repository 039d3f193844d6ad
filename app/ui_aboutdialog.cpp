#include "ui_aboutdialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

const char* const kLogoPath = ":/Window Logo/logo.png";

// One rich-text document: version, ownership, the publication and the credits.
const char* const kAboutText =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
    "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
    "p, li { white-space: pre-wrap; }\n"
    "</style></head><body style=\" font-family:'MS Shell Dlg 2'; font-size:8.25pt; font-weight:400; "
    "font-style:normal;\">\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "Zentavo Ver. 1.0</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "Copyright (C) 2026 The Zentavo developers.</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "All rights reserved.</span></p>\n"
    "<p style=\"-qt-paragraph-type:empty; margin:0px; -qt-block-indent:0; text-indent:0px; font-size:9pt;\">"
    "<br /></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "Algorithms are described in</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><a "
    "href=\"https://doi.org/10.1145/1409060.1409106\"><span style=\" font-size:9pt; font-style:italic; "
    "text-decoration: underline; color:#0000ff;\">&quot;Fast Image/Video Upsampling&quot;</span></a>"
    "<span style=\" font-size:9pt;\">,</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "Q. Shan, Z. Li, J. Jia, C.-K. Tang,</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">"
    "ACM Transactions on Graphics, (</span><span style=\" font-size:9pt; font-weight:600; "
    "font-style:italic;\">SIGGRAPH ASIA</span><span style=\" font-size:9pt;\"> 2008).</span></p>\n"
    "<p style=\" margin:0px; -qt-block-indent:0; text-indent:0px;\"><span style=\" font-size:9pt;\">&nbsp;"
    "</span></p>\n"
    // The credits are a table rather than tab-separated lines, so that the names
    // line up whatever the width of the font that stands in for the body font.
    "<table cellspacing=\"0\" cellpadding=\"0\">"
    "<tr><td style=\" padding-right:12px;\"><span style=\" font-size:9pt;\">Algorithm Design:</span></td>"
    "<td><span style=\" font-size:9pt;\">The Zentavo developers</span></td></tr>"
    "<tr><td style=\" padding-right:12px;\"><span style=\" font-size:9pt;\">CPU&amp;GPU Version Development:"
    "</span></td><td><span style=\" font-size:9pt;\">The Zentavo developers</span></td></tr>"
    "<tr><td style=\" padding-right:12px;\"><span style=\" font-size:9pt;\">User Interface Development:"
    "</span></td><td><span style=\" font-size:9pt;\">The Zentavo developers</span></td></tr></table>"
    "</body></html>";

} // namespace

namespace Ui {

void AboutDialog::setupUi(QDialog* AboutDialog)
{
    if (AboutDialog->objectName().isEmpty())
        AboutDialog->setObjectName("AboutDialog");
    AboutDialog->setWindowModality(Qt::NonModal);
    AboutDialog->resize(681, 259);
    AboutDialog->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    AboutDialog->setMinimumSize(0, 0);
    AboutDialog->setMaximumSize(999, 999);
    QIcon logo;
    logo.addFile(kLogoPath, QSize(), QIcon::Normal, QIcon::Off);
    AboutDialog->setWindowIcon(logo);
    AboutDialog->setModal(true);

    btn_ok = new QPushButton(AboutDialog);
    btn_ok->setObjectName("btn_ok");
    btn_ok->setGeometry(QRect(590, 210, 75, 23));
    lbl_about = new QLabel(AboutDialog);
    lbl_about->setObjectName("lbl_about");
    lbl_about->setGeometry(QRect(170, 20, 501, 191));
    lbl_about->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont font = lbl_about->font();
    font.setPointSize(8);
    lbl_about->setFont(font);
    lbl_about->setTextFormat(Qt::RichText);
    lbl_about->setOpenExternalLinks(true);
    lbl_logo = new QLabel(AboutDialog);
    lbl_logo->setObjectName("lbl_logo");
    lbl_logo->setGeometry(QRect(10, 30, 131, 131));
    lbl_logo->setPixmap(QPixmap(kLogoPath));

    retranslateUi(AboutDialog);
    QObject::connect(btn_ok, &QPushButton::clicked, AboutDialog, &QDialog::accept);
    QMetaObject::connectSlotsByName(AboutDialog);
}

void AboutDialog::retranslateUi(QDialog* AboutDialog)
{
    AboutDialog->setWindowTitle(QCoreApplication::translate("AboutDialog", "About Zentavo"));
    btn_ok->setText(QCoreApplication::translate("AboutDialog", "OK"));
    lbl_about->setText(QCoreApplication::translate("AboutDialog", kAboutText));
}

} // namespace Ui
