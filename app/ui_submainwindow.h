#pragma once

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTableWidget;
class QVBoxLayout;
class QWidget;

namespace Ui {

// The widgets of a document window: the parameter panel on the left, the tabs on the right.
class SubMainWindow {
public:
    void setupUi(QWidget* SubMainWindow);
    void retranslateUi(QWidget* SubMainWindow);

    QHBoxLayout* horizontalLayout = nullptr;
    QWidget* widget = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QGroupBox* grp_param = nullptr;
    QGridLayout* gridLayout_2 = nullptr;
    QLabel* lbl_zoomFactor = nullptr;
    QLabel* lbl_zoomFactorValue = nullptr;
    QSlider* hsl_zoomFactor = nullptr;
    QLabel* lbl_nIteration = nullptr;
    QSlider* hsl_nIteration = nullptr;
    QLabel* lbl_nIterationValue = nullptr;
    QLabel* lbl_wtDeconv = nullptr;
    QLabel* lbl_wtDeconvValue = nullptr;
    QSlider* hsl_wtDeconv = nullptr;
    QLabel* lbl_sigmaValue = nullptr;
    QSlider* hsl_sigma = nullptr;
    QLabel* lbl_sigma = nullptr;
    QGroupBox* grp_processor = nullptr;
    QRadioButton* rdb_cpu = nullptr;
    QRadioButton* rdb_gpu = nullptr;
    QWidget* widget_2 = nullptr;
    QPushButton* btn_run = nullptr;
    QGroupBox* grp_info = nullptr;
    QGridLayout* gridLayout = nullptr;
    QTableWidget* tbl_info = nullptr;
    QWidget* widget_3 = nullptr;
    QTabWidget* tabs = nullptr;
};

} // namespace Ui
