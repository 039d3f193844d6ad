#include "ui_submainwindow.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Smallest sizes of a parameter row's slider and value label. The row is laid
// out rather than placed, so that captions and values fit whatever the font.
constexpr int kSliderWidth = 71;
constexpr int kValueWidth = 31;

QLabel* makeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

struct SliderRange {
    int minimum;
    int maximum;
    int pageStep;
    int value;
};

QSlider* makeSlider(QWidget* parent, const char* name, SliderRange range)
{
    auto* slider = new QSlider(parent);
    slider->setObjectName(name);
    slider->setMinimumWidth(kSliderWidth);
    slider->setMinimum(range.minimum);
    slider->setMaximum(range.maximum);
    slider->setSingleStep(1);
    slider->setPageStep(range.pageStep);
    slider->setValue(range.value);
    slider->setOrientation(Qt::Horizontal);
    return slider;
}

QGroupBox* makePanelGroup(QWidget* parent, const char* name, int minimumHeight, const char* styleSheet)
{
    auto* group = new QGroupBox(parent);
    group->setObjectName(name);
    group->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    group->setMinimumSize(220, minimumHeight);
    group->setStyleSheet(styleSheet);
    return group;
}

void setUpInfoTable(QTableWidget* table)
{
    table->setColumnCount(2);
    table->setRowCount(4);
    for (int column = 0; column < 2; ++column)
        table->setHorizontalHeaderItem(column, new QTableWidgetItem());
    for (int row = 0; row < 4; ++row) {
        table->setVerticalHeaderItem(row, new QTableWidgetItem());
        table->setItem(row, 0, new QTableWidgetItem());
    }
    table->setItem(2, 1, new QTableWidgetItem());
    table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    table->setMinimumSize(201, 10);
    table->setFrameShape(QFrame::HLine);
    table->setLineWidth(1);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setAutoScrollMargin(16);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTextElideMode(Qt::ElideRight);
    table->setGridStyle(Qt::SolidLine);
    table->setSortingEnabled(false);
    QHeaderView* horizontal = table->horizontalHeader();
    horizontal->setVisible(false);
    horizontal->setCascadingSectionResizes(false);
    horizontal->setDefaultSectionSize(99);
    horizontal->setMinimumSectionSize(10);
    horizontal->setHighlightSections(false);
    QHeaderView* vertical = table->verticalHeader();
    vertical->setVisible(false);
    vertical->setMinimumSectionSize(19);
    vertical->setDefaultSectionSize(16);
}

QString parameterToolTip()
{
    return QCoreApplication::translate(
        "SubMainWindow",
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
        "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
        "p, li { white-space: pre-wrap; }\n"
        "</style></head><body style=\" font-family:'MS Shell Dlg 2'; font-size:8.25pt; font-weight:400; "
        "font-style:normal;\">\n"
        "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; "
        "text-indent:0px;\"><span style=\" font-size:8pt;\">Updating weight (\u03ba): Parameter that controls the "
        "rate.</span></p>\n"
        "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; "
        "text-indent:0px;\"><span style=\" font-size:8pt;\">Small kappa results in more iteratioins and with "
        "sharper edges.</span></p></body></html>");
}

} // namespace

namespace Ui {

void SubMainWindow::setupUi(QWidget* SubMainWindow)
{
    if (SubMainWindow->objectName().isEmpty())
        SubMainWindow->setObjectName("SubMainWindow");
    SubMainWindow->resize(664, 805);
    QIcon logo;
    logo.addFile(":/Window Logo/logo.png", QSize(), QIcon::Normal, QIcon::Off);
    SubMainWindow->setWindowIcon(logo);

    horizontalLayout = new QHBoxLayout(SubMainWindow);
    horizontalLayout->setObjectName("horizontalLayout");
    widget = new QWidget(SubMainWindow);
    widget->setObjectName("widget");
    widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    widget->setMinimumSize(0, 0);
    verticalLayout_2 = new QVBoxLayout(widget);
    verticalLayout_2->setObjectName("verticalLayout_2");

    grp_param = makePanelGroup(widget, "grp_param", 160, "::title { color:blue;}");
    gridLayout_2 = new QGridLayout(grp_param);
    gridLayout_2->setObjectName("gridLayout_2");
    gridLayout_2->setHorizontalSpacing(4);
    const QMargins margins = gridLayout_2->contentsMargins();
    gridLayout_2->setContentsMargins(6, margins.top(), 6, margins.bottom());
    lbl_zoomFactor = makeLabel(grp_param, "lbl_zoomFactor");
    lbl_zoomFactorValue = makeLabel(grp_param, "lbl_zoomFactorValue");
    hsl_zoomFactor = makeSlider(grp_param, "hsl_zoomFactor", {100, 400, 100, 200});
    lbl_nIteration = makeLabel(grp_param, "lbl_nIteration");
    hsl_nIteration = makeSlider(grp_param, "hsl_nIteration", {5, 20, 5, 10});
    lbl_nIterationValue = makeLabel(grp_param, "lbl_nIterationValue");
    lbl_wtDeconv = makeLabel(grp_param, "lbl_wtDeconv");
    lbl_wtDeconvValue = makeLabel(grp_param, "lbl_wtDeconvValue");
    hsl_wtDeconv = makeSlider(grp_param, "hsl_wtDeconv", {1, 50, 10, 20});
    lbl_sigmaValue = makeLabel(grp_param, "lbl_sigmaValue");
    hsl_sigma = makeSlider(grp_param, "hsl_sigma", {10, 40, 2, 13});
    lbl_sigma = makeLabel(grp_param, "lbl_sigma");
    const struct {
        QLabel* caption;
        QSlider* slider;
        QLabel* value;
    } rows[] = {
        {lbl_zoomFactor, hsl_zoomFactor, lbl_zoomFactorValue},
        {lbl_nIteration, hsl_nIteration, lbl_nIterationValue},
        {lbl_sigma, hsl_sigma, lbl_sigmaValue},
        {lbl_wtDeconv, hsl_wtDeconv, lbl_wtDeconvValue},
    };
    for (int row = 0; row < 4; ++row) {
        gridLayout_2->addWidget(rows[row].caption, row, 0);
        gridLayout_2->addWidget(rows[row].slider, row, 1);
        rows[row].value->setMinimumWidth(kValueWidth);
        gridLayout_2->addWidget(rows[row].value, row, 2);
    }
    verticalLayout_2->addWidget(grp_param);

    grp_processor = makePanelGroup(widget, "grp_processor", 65, "::title { color:blue; }");
    rdb_cpu = new QRadioButton(grp_processor);
    rdb_cpu->setObjectName("rdb_cpu");
    rdb_cpu->setGeometry(QRect(20, 30, 82, 17));
    rdb_gpu = new QRadioButton(grp_processor);
    rdb_gpu->setObjectName("rdb_gpu");
    rdb_gpu->setGeometry(QRect(130, 30, 82, 17));
    rdb_gpu->setChecked(true);
    verticalLayout_2->addWidget(grp_processor);

    widget_2 = new QWidget(widget);
    widget_2->setObjectName("widget_2");
    widget_2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    widget_2->setMinimumSize(220, 60);
    btn_run = new QPushButton(widget_2);
    btn_run->setObjectName("btn_run");
    btn_run->setGeometry(QRect(60, 10, 75, 23));
    verticalLayout_2->addWidget(widget_2);

    grp_info = makePanelGroup(widget, "grp_info", 100, "::title { color:red; }");
    gridLayout = new QGridLayout(grp_info);
    gridLayout->setObjectName("gridLayout");
    tbl_info = new QTableWidget(grp_info);
    tbl_info->setObjectName("tbl_info");
    setUpInfoTable(tbl_info);
    gridLayout->addWidget(tbl_info, 0, 0, 1, 1);
    verticalLayout_2->addWidget(grp_info);

    widget_3 = new QWidget(widget);
    widget_3->setObjectName("widget_3");
    verticalLayout_2->addWidget(widget_3, 1);
    horizontalLayout->addWidget(widget);

    tabs = new QTabWidget(SubMainWindow);
    tabs->setObjectName("tabs");
    tabs->setDocumentMode(false);
    tabs->setTabsClosable(true);
    tabs->setMovable(true);
    horizontalLayout->addWidget(tabs);

    retranslateUi(SubMainWindow);
    tabs->setCurrentIndex(-1);
    QMetaObject::connectSlotsByName(SubMainWindow);
}

void SubMainWindow::retranslateUi(QWidget* SubMainWindow)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("SubMainWindow", text); };
    SubMainWindow->setWindowTitle(tr("Form"));
    grp_param->setTitle(tr("Parameters"));
    lbl_zoomFactor->setText(tr("Zoom Factor"));
    lbl_zoomFactorValue->setText(tr("2.00"));
    lbl_nIteration->setToolTip(parameterToolTip());
    lbl_nIteration->setText(tr("Iterations"));
    lbl_nIterationValue->setText(tr("10"));
    lbl_wtDeconv->setToolTip(parameterToolTip());
    lbl_wtDeconv->setText(tr("Deconv Weight"));
    lbl_wtDeconvValue->setText(tr("0.020"));
    lbl_sigmaValue->setText(tr("1.3"));
    lbl_sigma->setToolTip(parameterToolTip());
    lbl_sigma->setText(tr("Sigma"));
    grp_processor->setTitle(tr("Processor"));
    rdb_cpu->setText(tr("CPU"));
    rdb_gpu->setText(tr("GPU"));
    btn_run->setText(tr("Run"));
    grp_info->setTitle(tr("Image Information"));
    const char* const columnHeaders[] = {"Name", "Value"};
    for (int column = 0; column < 2; ++column)
        tbl_info->horizontalHeaderItem(column)->setText(tr(columnHeaders[column]));
    const char* const rowHeaders[] = {"FileName", "FileType", "Width", "Height"};
    const char* const rowCaptions[] = {"Name", "Type", "Width", "Height"};
    for (int row = 0; row < 4; ++row) {
        tbl_info->verticalHeaderItem(row)->setText(tr(rowHeaders[row]));
        tbl_info->item(row, 0)->setText(tr(rowCaptions[row]));
    }
}

} // namespace Ui
