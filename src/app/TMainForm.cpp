#include "app/TMainForm.h"
#include "app/picker/TOpenDirectory.h"

#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "app/Artwork.h"
#include "app/BannerPicture.h"
#include "app/RadioGroup.h"
#include "app/UserDialogs.h"
#include "app/WindowFont.h"
#include "app/widgets/GroupBox.h"
#include "app/widgets/PageAreaStyle.h"
#include "app/widgets/PatentListView.h"
#include "app/widgets/SingleLineEdit.h"
#include "platform/TextRules.h"

namespace vantorel {

namespace {

struct SampleLabel {
    const char* name;
    const char* text;
    int left;
    int top;
};

// The sample-formats grid; texts are kept exactly, trailing blanks included.
constexpr SampleLabel kSampleGrid[] = {
    {"Label1", "US Patent", 8, 24},
    {"Label8", "6892391 or", 120, 24},
    {"Label28", "PCT", 224, 24},
    {"Label27", "WO2005043967", 320, 24},
    {"Label14", "6,892,391 or", 120, 40},
    {"Label26", "(12 digits)", 320, 40},
    {"Label9", "US6892391", 120, 56},
    {"Label18", "European", 224, 56},
    {"Label37", "EP1534056", 320, 56},
    {"Label7", "US Publication", 8, 72},
    {"Label15", "US2005102719", 120, 72},
    {"Label41", "Germany", 224, 72},
    {"Label38", "DE10362030", 320, 72},
    {"Label5", "(12 digits)", 120, 88},
    {"Label21", "Japan", 224, 88},
    {"Label19", "JP2005117900", 320, 88},
    {"Label13", "US Reissue", 8, 104},
    {"Label11", "USRE35312", 120, 104},
    {"Label22", "United Kingdom", 224, 104},
    {"Label29", "GB2408435", 320, 104},
    {"Label6", "US Plant Patent", 8, 120},
    {"Label3", "USPP8901", 120, 120},
    {"Label20", "France", 224, 120},
    {"Label36", "FR2862839", 320, 120},
    {"Label12", "US Design Patent", 8, 136},
    {"Label10", "USD339456", 120, 136},
    {"Label42", "Russia", 224, 136},
    {"Label40", "RU2207970", 320, 136},
    {"Label2", "US Defensive Pub.", 8, 152},
    {"Label16", "UST109201", 120, 152},
    {"Label23", "Austria", 224, 152},
    {"Label39", "AU2954402", 320, 152},
    {"Label17", "US SIR", 8, 168},
    {"Label4", "USH1523 ", 120, 168},
    {"Label50", "Ireland ", 224, 168},
    {"Label59", "IE12123 ", 320, 168},
    {"Label60", "Finland", 8, 184},
    {"Label48", "FI5443 ", 120, 184},
    {"Label43", "Netherlands ", 224, 184},
    {"Label55", "NL293832 ", 320, 184},
    {"Label62", "Italy ", 8, 200},
    {"Label49", "IT1245565 ", 120, 200},
    {"Label58", "Sweden ", 224, 200},
    {"Label51", "SE193831 ", 320, 200},
    {"Label45", "Denmark ", 8, 216},
    {"Label47", "DK1 ", 120, 216},
    {"Label56", "Czech Republic", 224, 216},
    {"Label54", "CZ291233 ", 320, 216},
    {"Label46", "Greece ", 8, 232},
    {"Label35", "GR1002344 ", 120, 232},
    {"Label57", "Estonia ", 224, 232},
    {"Label52", "ES9400001 ", 320, 232},
};

const QStringList kViewingChoices = {
    QStringLiteral("Open all PDF files upon download"),
    QStringLiteral("Open only the first PDF file upon download"),
    QStringLiteral("Do not open any PDF files upon download; save them to my local patent folder"),
};

}  // namespace

TMainForm::TMainForm(UserDialogs& dialogs, TMainFormOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      options_(std::move(options)) {
    setObjectName(QStringLiteral("MainForm"));
    const QFont font =
        windowFont(options_.dotsPerInch > 0 ? options_.dotsPerInch : screenDotsPerInch());
    setFont(font);
    scale_ = layoutScale(font);
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowIcon(mainIcon());
    setFixedSize(s(437), s(568));

    buildBanner();
    buildDownloaderTab();
    buildListTab();
    buildSettingsTab();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    OpenDirectory1 = new TOpenDirectory(this);
    wireHandlers();
    setTabOrder();
    // The tab strip is the first tab stop, so it has the focus when the window opens.
    PageControl1->tabBar()->setFocus();

    FormCreate();
}

TMainForm::~TMainForm() = default;

int TMainForm::s(int pixels) const {
    return roundHalfEven(pixels * scale_);
}

QRect TMainForm::rect(int left, int top, int width, int height) const {
    return QRect(s(left), s(top), s(width), s(height));
}

QLabel* TMainForm::addLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                            int width) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Zero width: as wide as the text.
    const int shown = width > 0 ? s(width) : label->fontMetrics().horizontalAdvance(label->text());
    label->setGeometry(s(left), s(top), shown, s(13));
    return label;
}

QPushButton* TMainForm::addButton(QWidget* parent, const char* name, const char* text,
                                  QRect geometry) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    // A focused push button is pressed by Enter as well as by Space.
    button->setAutoDefault(true);
    return button;
}

SingleLineEdit* TMainForm::addEdit(QWidget* parent, const char* name, QRect geometry) {
    auto* edit = new SingleLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(geometry);
    return edit;
}

void TMainForm::buildBanner() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setGeometry(rect(0, 0, 437, 91));
    Image1 = new BannerPicture(bannerBitmap(), Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect(72, 8, 289, 81));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(rect(0, 91, 437, 477));
    PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    // Made after the control, so the control goes first when the window is torn down.
    auto* pageArea = new PageAreaStyle(s(4));
    pageArea->setParent(this);
    PageControl1->setStyle(pageArea);
}

void TMainForm::buildDownloaderTab() {
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Patent Downloader"));

    PatIDLabel = addLabel(TabSheet1, "PatIDLabel", "Enter patent number*:", 8, 16, 103);
    PatID = addEdit(TabSheet1, "PatID", rect(8, 32, 305, 21));
    PatID->installEventFilter(this);  // the label greys with the edit
    PatID->setPastesColumns(true);
    Button1 = addButton(TabSheet1, "Button1", "Download Patent", rect(320, 32, 97, 21));
    Button1->setDefault(true);

    ProgressBar1 = new QProgressBar(TabSheet1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(rect(8, 64, 409, 16));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFocusPolicy(Qt::NoFocus);

    GroupBox1 = new GroupBox(QStringLiteral("Sample Formats"), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(rect(8, 88, 409, 313));
    buildSampleFormats();

    addLabel(TabSheet1, "Label31",
             "(*) To download multiple patents at the same time, enter a semicolon (;) between", 8,
             408, 376);
    addLabel(TabSheet1, "Label44", "each patent number", 22, 424, 95);
}

void TMainForm::buildSampleFormats() {
    for (const SampleLabel& cell : kSampleGrid)
        addLabel(GroupBox1, cell.name, cell.text, cell.left, cell.top, 0);
    addLabel(GroupBox1, "Label30",
             "Patents from other countries not listed above may also be available for download.", 8,
             272, 381);
    addLabel(GroupBox1, "Label25",
             "Simply enter the country code and patent number to test availability.", 8, 288, 318);
}

void TMainForm::buildListTab() {
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Downloaded Patents"));

    PatentsList = new PatentListView({QStringLiteral("Patent #"), QStringLiteral("File Path"),
                                      QStringLiteral("Date/Time downloaded")},
                                     TabSheet2);
    PatentsList->setObjectName(QStringLiteral("PatentsList"));
    PatentsList->setGeometry(rect(8, 8, 417, 401));
    PatentsList->verticalHeader()->setDefaultSectionSize(PatentsList->fontMetrics().height() +
                                                         s(4));
    PatentsList->setShowGrid(true);
    PatentsList->horizontalHeader()->setSectionsClickable(false);
    PatentsList->horizontalHeader()->setHighlightSections(false);
    PatentsList->horizontalHeader()->setStretchLastSection(false);
    PatentsList->setColumnWidth(0, s(70));
    PatentsList->setColumnWidth(2, s(120));
    // The selection shows only while the list has the focus.
    QPalette palette = PatentsList->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    PatentsList->setPalette(palette);
    PatentsList->installEventFilter(this);
    PatentsList->viewport()->installEventFilter(this);
    sizeFilePathColumn();

    Button2 = addButton(TabSheet2, "Button2", "View", rect(272, 416, 75, 25));
    Button2->setDefault(true);
    Button3 = addButton(TabSheet2, "Button3", "Delete", rect(352, 416, 75, 25));
}

void TMainForm::buildSettingsTab() {
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Settings"));

    GroupBox2 = new GroupBox(QStringLiteral("Account Information"), TabSheet3);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(rect(0, 8, 429, 105));
    addLabel(GroupBox2, "Label32", "User ID:", 16, 32, 39);
    LoginEdit = addEdit(GroupBox2, "LoginEdit", rect(104, 24, 121, 21));
    addLabel(GroupBox2, "Label33", "Password:", 16, 64, 49);
    PassEdit = addEdit(GroupBox2, "PassEdit", rect(104, 60, 121, 21));
    PassEdit->setEchoMode(QLineEdit::Password);
    PassEdit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    GroupBox3 = new GroupBox(QStringLiteral("Preferences"), TabSheet3);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(rect(0, 129, 429, 280));
    addLabel(GroupBox3, "Label34", "Local folder for downloaded patents:", 8, 24, 172);
    PathEdit = addEdit(GroupBox3, "PathEdit", rect(8, 45, 281, 21));
    PathEdit->setReadOnly(true);
    Button4 = addButton(GroupBox3, "Button4", "...", rect(296, 45, 25, 21));
    RadioGroup1 =
        new RadioGroup(QStringLiteral("Viewing Downloaded Patents"), kViewingChoices, GroupBox3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(rect(8, 96, 409, 105));
    RadioGroup1->layoutChoices();
    RadioGroup1->setItemIndex(0);
    GroupBox4 = new GroupBox(QStringLiteral("Timeout"), GroupBox3);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    GroupBox4->setGeometry(rect(8, 208, 409, 57));
    TOEdit = addEdit(GroupBox4, "TOEdit", rect(8, 24, 65, 21));
    TOEdit->setText(QStringLiteral("120"));
    addLabel(GroupBox4, "Label24", "seconds", 80, 32, 40);

    Button5 = addButton(TabSheet3, "Button5", "Save Changes", rect(328, 416, 89, 25));
}

void TMainForm::setTabOrder() {
    QWidget* const order[] = {PageControl1->tabBar(),
                              PatID,
                              Button1,
                              PatentsList,
                              Button2,
                              Button3,
                              LoginEdit,
                              PassEdit,
                              PathEdit,
                              Button4,
                              RadioGroup1->choice(0),
                              RadioGroup1->choice(1),
                              RadioGroup1->choice(2),
                              TOEdit,
                              Button5};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TMainForm::sizeFilePathColumn() {
    // The client width, scroll bars not counted: a scroll bar appearing changes nothing.
    const int client = PatentsList->width() - 2 * PatentsList->frameWidth();
    PatentsList->setColumnWidth(1,
                                client - PatentsList->columnWidth(0) - PatentsList->columnWidth(2));
}

void TMainForm::centreOnDesktop() {
    const QRect desktop = screen()->virtualGeometry();
    const QSize outer = frameGeometry().size();
    move(desktop.x() + (desktop.width() - outer.width()) / 2,
         desktop.y() + (desktop.height() - outer.height()) / 2);
}

}  // namespace vantorel
