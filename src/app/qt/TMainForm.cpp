#include "app/qt/TMainForm.h"
#include "app/qt/picker/TOpenDirectory.h"

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

#include "app/qt/Artwork.h"
#include "app/qt/BannerPicture.h"
#include "app/qt/RadioGroup.h"
#include "app/qt/WindowFont.h"
#include "app/qt/widgets/GroupBox.h"
#include "app/qt/widgets/PageAreaStyle.h"
#include "app/qt/widgets/PatentListView.h"
#include "app/qt/widgets/SingleLineEdit.h"
#include "form/FormDesign.h"
#include "form/UserDialogs.h"
#include "platform/Failure.h"
#include "platform/TextRules.h"

#include <type_traits>
#include <vector>

namespace vantorel {

TMainForm::TMainForm(UserDialogs& dialogs, TMainFormOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      options_(std::move(options)),
      core_(*this, dialogs, options_.commandLineRequest) {
    setObjectName(QStringLiteral("MainForm"));
    const QFont font =
        windowFont(options_.dotsPerInch > 0 ? options_.dotsPerInch : screenDotsPerInch());
    setFont(font);
    scale_ = layoutScale(font);
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowIcon(mainIcon());
    setFixedSize(s(kClientWidth), s(kClientHeight));

    buildControls();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    OpenDirectory1 = new TOpenDirectory(this);
    wireHandlers();
    setTabOrder();
    // The tab strip is the first tab stop, so it has the focus when the window opens.
    PageControl1->tabBar()->setFocus();

    core_.FormCreate();
}

TMainForm::~TMainForm() = default;

int TMainForm::s(int pixels) const {
    return roundHalfEven(pixels * scale_);
}

QWidget* TMainForm::control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

// The design, walked in its order: containers come before what they hold.
void TMainForm::buildControls() {
    for (const ControlDesign& design : mainFormControls()) {
        QWidget* container = design.container ? control(design.container) : this;
        QWidget* built = createControl(design, container);
        built->setObjectName(QString::fromUtf8(design.name));
        controls_[design.name] = built;
        if (design.kind == ControlKind::Page) continue;  // the tab control places its pages
        // Zero width: as wide as the text.
        const int width =
            design.width > 0
                ? s(design.width)
                : built->fontMetrics().horizontalAdvance(QString::fromUtf8(design.caption));
        built->setGeometry(s(design.left), s(design.top), width, s(design.height));
    }
    bindMembers();

    PatID->installEventFilter(this);  // the label greys with the edit
    PatID->setPastesColumns(true);
    RadioGroup1->layoutChoices();
    RadioGroup1->setItemIndex(0);
    // Made after the control, so the control goes first when the window is torn down.
    auto* pageArea = new PageAreaStyle(s(4));
    pageArea->setParent(this);
    PageControl1->setStyle(pageArea);
    PatentsList->installEventFilter(this);
    PatentsList->viewport()->installEventFilter(this);
    sizeFilePathColumn();
}

QWidget* TMainForm::createControl(const ControlDesign& design, QWidget* container) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
        case ControlKind::Panel: {
            auto* panel = new QFrame(container);
            panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
            panel->setLineWidth(1);
            return panel;
        }
        case ControlKind::Picture:
            return new BannerPicture(bannerBitmap(), container);
        case ControlKind::TabControl: {
            auto* tabs = new QTabWidget(container);
            tabs->tabBar()->setFocusPolicy(Qt::StrongFocus);
            return tabs;
        }
        case ControlKind::Page: {
            auto* page = new QWidget;
            static_cast<QTabWidget*>(container)->addTab(page, caption);
            return page;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(caption, container);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::ReadOnlyEdit: {
            auto* edit = new SingleLineEdit(container);
            edit->setText(caption);
            if (design.kind == ControlKind::PasswordEdit) {
                edit->setEchoMode(QLineEdit::Password);
                edit->setStyleSheet(
                    QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
            }
            edit->setReadOnly(design.kind == ControlKind::ReadOnlyEdit);
            return edit;
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(caption, container);
            // A focused push button is pressed by Enter as well as by Space.
            button->setAutoDefault(true);
            button->setDefault(design.kind == ControlKind::DefaultButton);
            return button;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(container);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            bar->setFocusPolicy(Qt::NoFocus);
            return bar;
        }
        case ControlKind::GroupBox:
            return new GroupBox(caption, container);
        case ControlKind::RadioGroup: {
            QStringList choices;
            for (const char* choice : viewingChoices()) choices << QString::fromUtf8(choice);
            return new RadioGroup(caption, choices, container);
        }
        case ControlKind::ListView:
            return createList(container);
    }
    return nullptr;
}

PatentListView* TMainForm::createList(QWidget* container) {
    QStringList captions;
    for (const ColumnDesign& column : patentListColumns())
        captions << QString::fromUtf8(column.caption);
    auto* list = new PatentListView(captions, container);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + s(4));
    list->setShowGrid(true);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(false);
    for (int i = 0; const ColumnDesign& column : patentListColumns())
        list->setColumnWidth(i++, s(column.width));
    // The selection shows only while the list has the focus.
    QPalette palette = list->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    list->setPalette(palette);
    return list;
}

void TMainForm::bindMembers() {
    auto bind = [this](auto*& member, const char* name) {
        member = qobject_cast<std::remove_reference_t<decltype(member)>>(control(name));
        if (!member) throw Failure(std::string("The control ") + name + " cannot be created");
    };
    bind(Panel1, "Panel1");
    bind(Image1, "Image1");
    bind(PageControl1, "PageControl1");
    bind(TabSheet1, "TabSheet1");
    bind(TabSheet2, "TabSheet2");
    bind(TabSheet3, "TabSheet3");
    bind(PatID, "PatID");
    bind(PatIDLabel, "PatIDLabel");
    bind(Button1, "Button1");
    bind(ProgressBar1, "ProgressBar1");
    bind(GroupBox1, "GroupBox1");
    bind(PatentsList, "PatentsList");
    bind(Button2, "Button2");
    bind(Button3, "Button3");
    bind(GroupBox2, "GroupBox2");
    bind(LoginEdit, "LoginEdit");
    bind(PassEdit, "PassEdit");
    bind(GroupBox3, "GroupBox3");
    bind(PathEdit, "PathEdit");
    bind(Button4, "Button4");
    bind(RadioGroup1, "RadioGroup1");
    bind(GroupBox4, "GroupBox4");
    bind(TOEdit, "TOEdit");
    bind(Button5, "Button5");
}

// The design's order, the tab strip first; a radio group is its choices.
void TMainForm::setTabOrder() {
    std::vector<QWidget*> order;
    for (const ControlDesign& design : mainFormControls()) {
        if (!takesFocus(design.kind)) continue;
        if (design.kind == ControlKind::TabControl) {
            order.push_back(PageControl1->tabBar());
        } else if (design.kind == ControlKind::RadioGroup) {
            for (int i = 0; i < RadioGroup1->count(); ++i) order.push_back(RadioGroup1->choice(i));
        } else {
            order.push_back(control(design.name));
        }
    }
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
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
    const ScreenRect at =
        firstWindowRect({desktop.x(), desktop.y(), desktop.width(), desktop.height()},
                        outer.width(), outer.height());
    move(at.left, at.top);
}

}  // namespace vantorel
