#pragma once

#include <QWidget>

/// An area in which panes lie on top of each other, each filling it. Whatever lies
/// beneath (a notice that no pane applies) shows only where no visible pane covers it.
class TPaneArea : public QWidget
{
    Q_OBJECT

public:
    explicit TPaneArea(QWidget* parent = nullptr);
    /// Adds a pane on top of those added before; panes paint their background, so a
    /// shown pane covers what lies beneath it.
    void AddPane(QWidget* pane);
    /// Adds a widget beneath the panes, at the top of the area.
    void AddBeneath(QWidget* widget);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<QWidget*> m_panes;
    QList<QWidget*> m_beneath;
};
