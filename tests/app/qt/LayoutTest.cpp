// The window's controls against the layout tables: kind, text, position, size.
#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "app/qt/FormFixture.h"
#include "app/qt/Artwork.h"
#include "app/qt/BannerPicture.h"
#include "app/qt/RadioGroup.h"
#include "platform/TextRules.h"

namespace vantorel::test {
namespace {

QString shownText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    return {};
}

struct Placed {
    const char* name;
    const char* parent;
    int left, top, width, height;
    const char* text;
};

constexpr Placed kControls[] = {
    {"Panel1", "MainForm", 0, 0, 437, 91, ""},
    {"Image1", "Panel1", 72, 8, 289, 81, ""},
    {"PageControl1", "MainForm", 0, 91, 437, 477, ""},
    {"PatIDLabel", "TabSheet1", 8, 16, 103, 13, "Enter patent number*:"},
    {"PatID", "TabSheet1", 8, 32, 305, 21, ""},
    {"Button1", "TabSheet1", 320, 32, 97, 21, "Download Patent"},
    {"ProgressBar1", "TabSheet1", 8, 64, 409, 16, ""},
    {"GroupBox1", "TabSheet1", 8, 88, 409, 313, "Sample Formats"},
    {"Label31", "TabSheet1", 8, 408, 376, 13,
     "(*) To download multiple patents at the same time, enter a semicolon (;) between"},
    {"Label44", "TabSheet1", 22, 424, 95, 13, "each patent number"},
    {"Label30", "GroupBox1", 8, 272, 381, 13,
     "Patents from other countries not listed above may also be available for download."},
    {"Label25", "GroupBox1", 8, 288, 318, 13,
     "Simply enter the country code and patent number to test availability."},
    {"PatentsList", "TabSheet2", 8, 8, 417, 401, ""},
    {"Button2", "TabSheet2", 272, 416, 75, 25, "View"},
    {"Button3", "TabSheet2", 352, 416, 75, 25, "Delete"},
    {"GroupBox2", "TabSheet3", 0, 8, 429, 105, "Account Information"},
    {"Label32", "GroupBox2", 16, 32, 39, 13, "User ID:"},
    {"LoginEdit", "GroupBox2", 104, 24, 121, 21, ""},
    {"Label33", "GroupBox2", 16, 64, 49, 13, "Password:"},
    {"PassEdit", "GroupBox2", 104, 60, 121, 21, ""},
    {"GroupBox3", "TabSheet3", 0, 129, 429, 280, "Preferences"},
    {"Label34", "GroupBox3", 8, 24, 172, 13, "Local folder for downloaded patents:"},
    {"PathEdit", "GroupBox3", 8, 45, 281, 21, nullptr} /* loaded at start */,
    {"Button4", "GroupBox3", 296, 45, 25, 21, "..."},
    {"RadioGroup1", "GroupBox3", 8, 96, 409, 105, "Viewing Downloaded Patents"},
    {"GroupBox4", "GroupBox3", 8, 208, 409, 57, "Timeout"},
    {"TOEdit", "GroupBox4", 8, 24, 65, 21, "120"},
    {"Label24", "GroupBox4", 80, 32, 40, 13, "seconds"},
    {"Button5", "TabSheet3", 328, 416, 89, 25, "Save Changes"},
};

// Grid labels are as wide as their texts; blanks at the end belong to the text.
struct Cell {
    const char* name;
    int left, top;
    const char* text;
};

constexpr Cell kGrid[] = {
    {"Label1", 8, 24, "US Patent"},
    {"Label8", 120, 24, "6892391 or"},
    {"Label28", 224, 24, "PCT"},
    {"Label27", 320, 24, "WO2005043967"},
    {"Label14", 120, 40, "6,892,391 or"},
    {"Label26", 320, 40, "(12 digits)"},
    {"Label9", 120, 56, "US6892391"},
    {"Label18", 224, 56, "European"},
    {"Label37", 320, 56, "EP1534056"},
    {"Label7", 8, 72, "US Publication"},
    {"Label15", 120, 72, "US2005102719"},
    {"Label41", 224, 72, "Germany"},
    {"Label38", 320, 72, "DE10362030"},
    {"Label5", 120, 88, "(12 digits)"},
    {"Label21", 224, 88, "Japan"},
    {"Label19", 320, 88, "JP2005117900"},
    {"Label13", 8, 104, "US Reissue"},
    {"Label11", 120, 104, "USRE35312"},
    {"Label22", 224, 104, "United Kingdom"},
    {"Label29", 320, 104, "GB2408435"},
    {"Label6", 8, 120, "US Plant Patent"},
    {"Label3", 120, 120, "USPP8901"},
    {"Label20", 224, 120, "France"},
    {"Label36", 320, 120, "FR2862839"},
    {"Label12", 8, 136, "US Design Patent"},
    {"Label10", 120, 136, "USD339456"},
    {"Label42", 224, 136, "Russia"},
    {"Label40", 320, 136, "RU2207970"},
    {"Label2", 8, 152, "US Defensive Pub."},
    {"Label16", 120, 152, "UST109201"},
    {"Label23", 224, 152, "Austria"},
    {"Label39", 320, 152, "AU2954402"},
    {"Label17", 8, 168, "US SIR"},
    {"Label4", 120, 168, "USH1523 "},
    {"Label50", 224, 168, "Ireland "},
    {"Label59", 320, 168, "IE12123 "},
    {"Label60", 8, 184, "Finland"},
    {"Label48", 120, 184, "FI5443 "},
    {"Label43", 224, 184, "Netherlands "},
    {"Label55", 320, 184, "NL293832 "},
    {"Label62", 8, 200, "Italy "},
    {"Label49", 120, 200, "IT1245565 "},
    {"Label58", 224, 200, "Sweden "},
    {"Label51", 320, 200, "SE193831 "},
    {"Label45", 8, 216, "Denmark "},
    {"Label47", 120, 216, "DK1 "},
    {"Label56", 224, 216, "Czech Republic"},
    {"Label54", 320, 216, "CZ291233 "},
    {"Label46", 8, 232, "Greece "},
    {"Label35", 120, 232, "GR1002344 "},
    {"Label57", 224, 232, "Estonia "},
    {"Label52", 320, 232, "ES9400001 "},
};

class LayoutTest : public FormFixture {};

TEST_F(LayoutTest, WindowFrameTitleAndFont) {
    TMainForm& w = makeForm();
    EXPECT_EQ(w.windowTitle(), "Vantorel Patent Downloader");
    EXPECT_EQ(w.size(), QSize(437, 568));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(w.font().pixelSize(), 11);
    EXPECT_EQ(QFontMetrics(w.font()).height(), 13);
    EXPECT_EQ(w.scale(), 1.0);
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(LayoutTest, ControlsMatchTheTables) {
    TMainForm& w = makeForm();
    for (const Placed& c : kControls) {
        SCOPED_TRACE(c.name);
        auto* widget = w.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), c.parent);
        EXPECT_EQ(widget->geometry(), QRect(c.left, c.top, c.width, c.height));
        if (c.text) {
            EXPECT_EQ(shownText(widget).toStdString(), c.text);
        }
    }
}

TEST_F(LayoutTest, SampleGridLabelsAreAsWideAsTheirTexts) {
    TMainForm& w = makeForm();
    EXPECT_EQ(w.GroupBox1->findChildren<QLabel*>().size(), std::size(kGrid) + 2);
    for (const Cell& c : kGrid) {
        SCOPED_TRACE(c.name);
        auto* label = w.GroupBox1->findChild<QLabel*>(c.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().toStdString(), c.text);
        EXPECT_EQ(label->geometry(),
                  QRect(c.left, c.top, label->fontMetrics().horizontalAdvance(c.text), 13));
    }
}

TEST_F(LayoutTest, LabelTextsFitTheirRectangles) {
    TMainForm& w = makeForm();
    for (QLabel* label : w.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    }
}

TEST_F(LayoutTest, TabsAndControlKinds) {
    TMainForm& w = makeForm();
    ASSERT_EQ(w.PageControl1->count(), 3);
    const char* const tabs[][2] = {{"TabSheet1", "Patent Downloader"},
                                   {"TabSheet2", "Downloaded Patents"},
                                   {"TabSheet3", "Settings"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.PageControl1->widget(i)->objectName(), tabs[i][0]);
        EXPECT_EQ(w.PageControl1->tabText(i), tabs[i][1]);
    }
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_EQ(w.PassEdit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(w.PathEdit->isReadOnly());
    EXPECT_FALSE(w.LoginEdit->isReadOnly());
    EXPECT_EQ(w.ProgressBar1->minimum(), 0);
    EXPECT_EQ(w.ProgressBar1->maximum(), 100);
    EXPECT_EQ(w.ProgressBar1->value(), 0);
    EXPECT_EQ(w.ProgressBar1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(w.Image1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w.Panel1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w.Timer1->interval(), 1000);

    QHeaderView* header = w.PatentsList->horizontalHeader();
    ASSERT_EQ(w.PatentsList->columnCount(), 3);
    const char* const columns[] = {"Patent #", "File Path", "Date/Time downloaded"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.PatentsList->horizontalHeaderItem(i)->text(), columns[i]);
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_EQ(w.PatentsList->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(w.PatentsList->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(w.PatentsList->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(w.PatentsList->showGrid());
}

TEST_F(LayoutTest, FilePathColumnTakesTheRestOfTheClientWidth) {
    TMainForm& w = showForm();
    w.PageControl1->setCurrentIndex(1);  // a hidden list gets no resize events
    QTableWidget* list = w.PatentsList;
    const int client = list->width() - 2 * list->frameWidth();
    EXPECT_EQ(list->columnWidth(0), 70);
    EXPECT_EQ(list->columnWidth(2), 120);
    EXPECT_EQ(list->columnWidth(1), client - 190);
    list->resize(list->width() + 40, list->height());
    EXPECT_EQ(list->columnWidth(1), client + 40 - 190);
}

TEST_F(LayoutTest, PagesAre429WideSoSpanningBoxesReachTheirEdges) {
    TMainForm& w = showForm();
    for (int tab = 0; tab < 3; ++tab) {
        w.PageControl1->setCurrentIndex(tab);
        QWidget* page = w.PageControl1->widget(tab);
        EXPECT_EQ(page->width(), 429) << tab;
        EXPECT_EQ(page->mapTo(w.PageControl1, QPoint(0, 0)).x(), 4) << tab;
    }
    for (QGroupBox* box : {w.GroupBox2, w.GroupBox3})
        EXPECT_EQ(box->geometry().right(), w.TabSheet3->width() - 1)
            << box->objectName().toStdString();
}

TEST_F(LayoutTest, RadioChoicesStandInOneColumn) {
    TMainForm& w = makeForm();
    const char* const texts[] = {
        "Open all PDF files upon download", "Open only the first PDF file upon download",
        "Do not open any PDF files upon download; save them to my local patent folder"};
    ASSERT_EQ(w.RadioGroup1->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.RadioGroup1->choice(i)->text(), texts[i]);
        EXPECT_EQ(w.RadioGroup1->choice(i)->geometry(), QRect(8, 14 + 29 * i, 399, 29));
    }
    EXPECT_EQ(w.RadioGroup1->itemIndex(), 0);
}

TEST_F(LayoutTest, RadioIndexIsClamped) {
    TMainForm& w = makeForm();
    const std::pair<int, int> cases[] = {{1, 1},   {7, 2}, {2, 2}, {-1, -1},
                                         {-5, -1}, {3, 2}, {0, 0}};
    for (const auto& [set, expected] : cases) {
        w.setViewingPreference(set);
        EXPECT_EQ(w.viewingPreference(), expected) << "set " << set;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(w.RadioGroup1->choice(i)->isChecked(), i == expected);
    }
}

TEST_F(LayoutTest, ProgressPositionIsShownWithinItsRange) {
    TMainForm& w = makeForm();
    const std::pair<int, int> cases[] = {{1, 1}, {-5, 0}, {100, 100}, {250, 100}, {2, 2}, {0, 0}};
    for (const auto& [set, shown] : cases) {
        w.setProgressPosition(set);
        EXPECT_EQ(w.ProgressBar1->value(), shown) << "set " << set;
    }
}

TEST_F(LayoutTest, PatentFieldLabelGreysWithTheField) {
    TMainForm& w = makeForm();
    w.PatID->setEnabled(false);
    EXPECT_FALSE(w.PatIDLabel->isEnabled());
    w.PatID->setEnabled(true);
    EXPECT_TRUE(w.PatIDLabel->isEnabled());
}

TEST_F(LayoutTest, BannerArtwork) {
    const QImage banner = bannerBitmap();
    EXPECT_EQ(banner.size(), QSize(285, 73));
    EXPECT_EQ(banner.format(), QImage::Format_Indexed8);
    EXPECT_EQ(banner.colorCount(), 17);
    const QImage painted = transparentBanner(banner);
    const QRgb key = banner.pixel(0, 72);
    int keyed = 0;
    for (int y = 0; y < banner.height(); ++y)
        for (int x = 0; x < banner.width(); ++x) {
            const bool isKey = (banner.pixel(x, y) & 0xffffff) == (key & 0xffffff);
            keyed += isKey;
            EXPECT_EQ(qAlpha(painted.pixel(x, y)), isKey ? 0 : 255);
        }
    EXPECT_GT(keyed, 0);
    EXPECT_LT(keyed, banner.width() * banner.height());  // something is drawn

    for (const int size : {16, 32}) {
        const QImage icon = mainIconImage(size);
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(icon.format(), QImage::Format_Indexed8);
        EXPECT_EQ(icon.colorCount(), 256);
    }
    const QList<QSize> sizes = mainIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST_F(LayoutTest, EverythingScalesWithTheFontAtOtherDensities) {
    TMainFormOptions options;
    options.dotsPerInch = 144;
    TMainForm& w = makeForm(options);
    EXPECT_EQ(w.font().pixelSize(), 16);  // 16.5 rounded to even
    const double f = QFontMetrics(w.font()).height() / 13.0;
    EXPECT_DOUBLE_EQ(w.scale(), f);
    ASSERT_GT(f, 1.2);
    auto sc = [f](int v) { return roundHalfEven(v * f); };
    EXPECT_EQ(w.size(), QSize(sc(437), sc(568)));
    EXPECT_EQ(w.Button1->geometry(), QRect(sc(320), sc(32), sc(97), sc(21)));
    EXPECT_EQ(w.TOEdit->geometry(), QRect(sc(8), sc(24), sc(65), sc(21)));
    EXPECT_EQ(w.PatentsList->columnWidth(0), sc(70));
    EXPECT_EQ(w.Image1->bitmap().size(), QSize(285, 73));  // drawn at its own size
}

TEST_F(LayoutTest, FirstShownCentredOnTheDesktop) {
    TMainForm& w = showForm();
    const QRect desktop = w.screen()->virtualGeometry();
    const QRect outer = w.frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(desktop.x() + (desktop.width() - outer.width()) / 2,
                                      desktop.y() + (desktop.height() - outer.height()) / 2));
}

}  // namespace
}  // namespace vantorel::test
