#include "panearea.h"

#include <QLayout>
#include <QResizeEvent>

TPaneArea::TPaneArea(QWidget* parent) : QWidget(parent) {}

void TPaneArea::AddPane(QWidget* pane)
{
    pane->setParent(this);
    pane->setAutoFillBackground(true);
    pane->setGeometry(rect());
    pane->raise();
    pane->installEventFilter(this);
    m_panes << pane;
    updateGeometry();
}

void TPaneArea::AddBeneath(QWidget* widget)
{
    widget->setParent(this);
    widget->lower();
    widget->move(0, 0);
    widget->adjustSize();
    m_beneath << widget;
}

QSize TPaneArea::sizeHint() const
{
    QSize size = m_designed.isValid() ? m_designed : QSize(0, 0);
    for (QWidget* w : m_panes + m_beneath)
        size = size.expandedTo(w->sizeHint());
    return size;
}

QSize TPaneArea::minimumSizeHint() const
{
    QSize size(0, 0);
    for (QWidget* w : m_panes)
        size = size.expandedTo(w->minimumSizeHint());
    return size;
}

void TPaneArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (QWidget* pane : m_panes)
        pane->setGeometry(rect());
    for (QWidget* w : m_beneath)
        w->resize(width(), w->sizeHint().height());
}

void TPaneArea::PanesChanged()
{
    for (QWidget* pane : m_panes)
        if (pane->layout())
            pane->layout()->activate();
    updateGeometry();
}

bool TPaneArea::eventFilter(QObject* watched, QEvent* event)
{
    // A pane's own layout changed (parts of it shown or hidden): the area's sizes follow.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::ShowToParent ||
        event->type() == QEvent::HideToParent)
        updateGeometry();
    return QWidget::eventFilter(watched, event);
}
