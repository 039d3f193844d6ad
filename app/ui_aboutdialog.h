#pragma once

class QDialog;
class QLabel;
class QPushButton;

namespace Ui {

// The widgets of the About dialog: the logo, the About text and OK.
class AboutDialog {
public:
    void setupUi(QDialog* AboutDialog);
    void retranslateUi(QDialog* AboutDialog);

    QPushButton* btn_ok = nullptr;
    QLabel* lbl_about = nullptr;
    QLabel* lbl_logo = nullptr;
};

} // namespace Ui
