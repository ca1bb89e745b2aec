#pragma once

#include <QDialog>

class QAbstractItemModel;
class QBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

/// What the line-up tools' reviews share: a table with a row a channel and a tick column
/// (Space ticks or unticks the current row wherever in the row the cursor stands), the
/// counts under it, Apply (the default, enabled while a row is ticked) and Cancel.
class TReviewWin : public QDialog
{
    Q_OBJECT

public:
    /// Ticks or unticks a row (a row that cannot be filled in stays unticked).
    virtual void SetTicked(int row, bool ticked) = 0;
    virtual bool Ticked(int row) const = 0;

    QTableView* Table = nullptr;
    QLabel* CountsLabel = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    /// The window titled `title`, its table named `tableName` showing `model`: the
    /// column `stretched` takes the room left, `tick` is shown before it.
    TReviewWin(const QString& title, const QString& name, const QString& tableName,
               QAbstractItemModel* model, int stretched, int tick, QWidget* parent);
    /// The row of buttons under the counts: things may go before Apply.
    QBoxLayout* Buttons() const { return m_buttons; }
    /// The counts line: `counts`, then what Apply does for `ticked` rows.
    void ShowCounts(const QString& counts, int ticked);
    /// Enter on a row opens the list in its cell of `column` (where it can be edited), as
    /// F2 there does; it never applies by surprise.
    void PickWithEnter(int column) { m_pickColumn = column; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QBoxLayout* m_buttons;
    int m_pickColumn = -1;
};
