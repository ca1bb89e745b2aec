#pragma once

#include "writehistory.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class TSQLConnection;

/// "History": every write of the program to the current database, newest first (when,
/// who, what, how many rows), and the selected entry's rows below, each named as a
/// person knows it with what the write changed. Take back... reviews taking the
/// selected entry back. It can stay open beside the main window.
class THistoryWin : public QDialog
{
    Q_OBJECT

public:
    /// The entries of `history` (none kept: the window says so), taken back through
    /// `connection`.
    THistoryWin(TWriteHistory* history, TSQLConnection& connection, QWidget* parent = nullptr);

    /// Reads the entries again, keeping the selected one when it is still there.
    void Reload();
    /// Take back... on the selected entry: the review, and the take-back once applied.
    void TakeBackSelected();
    const QList<THistoryEntry>& Entries() const { return m_entries; }

    /// Called after a take-back was written (the main window reads its lists again).
    std::function<void()> AfterTakeBack;

    QTableWidget* EntryTable = nullptr;
    QTableWidget* RowTable = nullptr;
    QLabel* SummaryLabel = nullptr;
    QPushButton* TakeBackButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRows(int entry);

    TWriteHistory* m_history;
    TSQLConnection& m_connection;
    QList<THistoryEntry> m_entries;
};
