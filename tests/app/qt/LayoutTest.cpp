// The window's controls against the form's design: kind, text, position, size.
#include <QAbstractButton>
#include <QFile>
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

#include "app/qt/Artwork.h"
#include "app/qt/BannerPicture.h"
#include "app/qt/FormFixture.h"
#include "app/qt/RadioGroup.h"
#include "form/FormDesign.h"
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

class LayoutTest : public FormFixture {};

TEST_F(LayoutTest, WindowFrameTitleAndFont) {
    TMainForm& w = makeForm();
    EXPECT_EQ(w.windowTitle(), "Vantorel Patent Downloader");
    EXPECT_EQ(w.size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(w.font().pixelSize(), 11);
    EXPECT_EQ(QFontMetrics(w.font()).height(), 13);
    EXPECT_EQ(w.scale(), 1.0);
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(LayoutTest, ControlsAreBuiltAsTheDesignSays) {
    TMainForm& w = makeForm();
    int page = 0;
    for (const ControlDesign& design : mainFormControls()) {
        SCOPED_TRACE(design.name);
        QWidget* widget = w.control(design.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName().toStdString(), design.name);
        if (design.kind == ControlKind::Page) {
            EXPECT_EQ(w.PageControl1->widget(page), widget);
            EXPECT_EQ(w.PageControl1->tabText(page++).toStdString(), design.caption);
            continue;
        }
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName().toStdString(),
                  design.container ? design.container : "MainForm");
        const int width = design.width > 0
                              ? design.width
                              : widget->fontMetrics().horizontalAdvance(design.caption);
        EXPECT_EQ(widget->geometry(), QRect(design.left, design.top, width, design.height));
        if (showsCaption(design.kind)) {
            EXPECT_EQ(shownText(widget).toStdString(), design.caption);
        }
    }
    EXPECT_EQ(w.PageControl1->count(), page);
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
    const auto columns = patentListColumns();
    ASSERT_EQ(w.PatentsList->columnCount(), static_cast<int>(columns.size()));
    for (int i = 0; i < w.PatentsList->columnCount(); ++i)
        EXPECT_EQ(w.PatentsList->horizontalHeaderItem(i)->text().toStdString(),
                  columns[static_cast<std::size_t>(i)].caption);
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
    const int others = patentListColumns()[0].width + patentListColumns()[2].width;
    EXPECT_EQ(list->columnWidth(0), patentListColumns()[0].width);
    EXPECT_EQ(list->columnWidth(2), patentListColumns()[2].width);
    EXPECT_EQ(list->columnWidth(1), client - others);
    list->resize(list->width() + 40, list->height());
    EXPECT_EQ(list->columnWidth(1), client + 40 - others);
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
    ASSERT_EQ(w.RadioGroup1->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.RadioGroup1->choice(i)->text().toStdString(), viewingChoices()[i]);
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
        EXPECT_NE(icon.pixel(size / 2, size / 2), icon.pixel(0, 0)) << "something is drawn";
    }
    // The icon file the Windows resources hold too: 16 and 32, 8 bits, 256 colours.
    QFile file(QStringLiteral(":/art/main.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    ASSERT_GE(ico.size(), 6 + 2 * 16);
    EXPECT_EQ(ico[4], 2);  // two images
    for (int i = 0; i < 2; ++i) {
        const char* entry = ico.constData() + 6 + 16 * i;
        EXPECT_EQ(static_cast<unsigned char>(entry[0]), i == 0 ? 16 : 32);
        EXPECT_EQ(entry[2], 0);  // 0: 256 colours
        EXPECT_EQ(entry[6], 8);  // bits per pixel
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
