#include "app/qt/MessageDialog.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "form/UserDialogs.h"

namespace vantorel {

MessageDialog::MessageDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      text_(new QLabel(text, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowModality(Qt::ApplicationModal);

    const QScreen* screen = QGuiApplication::primaryScreen();
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setFixedWidth(
        textWidth(text, text_->font(), screen ? screen->geometry().width() / 2 : 640));
    text_->setTextInteractionFlags(Qt::NoTextInteraction);

    // OK is both the default button and, through QDialog's Esc handling, the cancel one.
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int MessageDialog::textWidth(const QString& text, const QFont& font, int limit) {
    // As wide as the widest line needs, so short texts stay on one line;
    // only lines wider than the limit wrap.
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::min(limit, static_cast<int>(std::ceil(widest)));
}

void MessageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen();
}

void MessageDialog::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace vantorel
