#pragma once

#include "lineupcheck.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

/// "Line-up check": what would make the recorder fail, or not do what was meant, one
/// row each, errors first, with a line that sums it up. A row opens the source's or the
/// card's editor where the problem is; when the editor closes, the check runs again.
/// It reads the tables only, and can stay open beside the main window.
class TLineupWin : public QDialog
{
    Q_OBJECT

public:
    explicit TLineupWin(QWidget* parent = nullptr);

    /// Reads the tables and shows what the rules find (raises the database's error).
    void Check();
    /// Opens the editor for row `row` (as a double-click or Enter does), then checks again.
    void OpenRow(int row);
    const QList<TProblem>& Problems() const { return m_problems; }

    /// How a row is opened: the main window's editors, on that source or card.
    std::function<void(const TProblem&)> OpenEditor;

    QTableWidget* ProblemTable = nullptr;
    QLabel* SummaryLabel = nullptr;
    QLabel* DetailLabel = nullptr; // the current row whole: what, where, why
    QPushButton* CheckButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void present(const QList<TProblem>& problems);
    void showDetail(int row);
    QList<TProblem> m_problems;
};
