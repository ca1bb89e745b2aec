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
    /// The size the area prefers when its panes would take less (it may still shrink
    /// to what its panes need).
    void SetDesignedSize(const QSize& size)
    {
        m_designed = size;
        updateGeometry();
    }
    QSize sizeHint() const override;
    /// Call after showing or hiding parts of a pane: the area's sizes follow at once
    /// (before the window next lays itself out).
    void PanesChanged();
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> m_panes;
    QList<QWidget*> m_beneath;
    QSize m_designed;
};
