#pragma once

#include <QObject>
#include <QString>

class QWidget;

/// Remembers a window's size and position and the column widths of its grids (with
/// QSettings, under the window's name) and gives them back on the next start when the
/// window still fits the screen; the first start keeps the designed size, in the
/// normal state. Install once per window; it lives as the window's child.
class TGeometryKeeper : public QObject
{
public:
    explicit TGeometryKeeper(QWidget* window);
    /// Off in the tests that check designed sizes; on in the program.
    static bool Enabled;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();
    void save();
    QWidget* m_window;
    QString m_key;
    bool m_restored = false;
};
