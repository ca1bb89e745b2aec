#include "geometry.h"

#include <QEvent>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QWidget>

bool TGeometryKeeper::Enabled = true;

namespace {

// The grids of a window, by name, in a stable order.
QList<QTableView*> gridsOf(QWidget* window)
{
    QList<QTableView*> grids;
    for (QTableView* grid : window->findChildren<QTableView*>())
        if (!grid->objectName().isEmpty())
            grids << grid;
    std::sort(grids.begin(), grids.end(),
              [](QTableView* a, QTableView* b) { return a->objectName() < b->objectName(); });
    return grids;
}

} // namespace

TGeometryKeeper::TGeometryKeeper(QWidget* window)
    : QObject(window), m_window(window),
      m_key(QStringLiteral("windows/") + window->objectName() + QLatin1Char('/'))
{
    window->installEventFilter(this);
}

bool TGeometryKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && Enabled) {
        if (event->type() == QEvent::Show && !m_restored) {
            m_restored = true;
            restore();
        } else if (event->type() == QEvent::Hide) {
            save();
        }
    }
    return QObject::eventFilter(watched, event);
}

void TGeometryKeeper::restore()
{
    QSettings settings;
    const QByteArray geometry = settings.value(m_key + QStringLiteral("geometry")).toByteArray();
    if (geometry.isEmpty())
        return; // the first start: the designed size
    const QSize designed = m_window->size();
    const QPoint at = m_window->pos();
    if (!m_window->restoreGeometry(geometry))
        return;
    // Only when it still fits the screen it is on (another screen, a lower resolution).
    const QScreen* screen = m_window->screen();
    if (screen && !screen->availableGeometry().contains(m_window->frameGeometry())) {
        m_window->setWindowState(Qt::WindowNoState);
        m_window->resize(designed);
        m_window->move(at);
        return;
    }
    for (QTableView* grid : gridsOf(m_window))
        grid->horizontalHeader()->restoreState(
            settings.value(m_key + grid->objectName() + QStringLiteral("/columns")).toByteArray());
}

void TGeometryKeeper::save()
{
    QSettings settings;
    settings.setValue(m_key + QStringLiteral("geometry"), m_window->saveGeometry());
    for (QTableView* grid : gridsOf(m_window))
        settings.setValue(m_key + grid->objectName() + QStringLiteral("/columns"),
                          grid->horizontalHeader()->saveState());
}
