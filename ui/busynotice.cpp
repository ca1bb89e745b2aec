#include "busynotice.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QString& lastText()
{
    static QString text;
    return text;
}
} // namespace

TBusyNotice::TBusyNotice(const QString& text)
{
    lastText() = text;
    auto* frame = new QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    frame->setObjectName(QStringLiteral("BusyNotice"));
    frame->setFrameShape(QFrame::Box);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(text, frame);
    label->setObjectName(QStringLiteral("BusyNoticeText"));
    label->setMargin(16);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    frame->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame->move(screen->availableGeometry().center() - frame->rect().center());
    m_window = frame;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    frame->show();
    // The program waits on the server next: let the notice paint first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TBusyNotice::~TBusyNotice()
{
    Done();
}

void TBusyNotice::Done()
{
    if (!m_window)
        return;
    m_window->close();
    m_window = nullptr;
    QApplication::restoreOverrideCursor();
}

QString TBusyNotice::LastText()
{
    return lastText();
}
