#pragma once

#include "writehistory.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class TSQLConnection;
class TTakeBack;

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
    /// Take back... on the selected entry (Restore... on a snapshot): the review, and the
    /// take-back or restore once applied.
    void TakeBackSelected();
    /// Back up...: the line-up to a JSON file chosen in a save dialog.
    void BackUp();
    /// Restore from file...: a backup chosen in an open dialog, reviewed, then restored.
    void RestoreFromFile();
    const QList<THistoryEntry>& Entries() const { return m_entries; }
    const QList<TSnapshot>& Snapshots() const { return m_snapshots; }

    /// How the files are chosen (tests give their own): a path, empty for none.
    static std::function<QString(QWidget*)> ChooseBackupFile;
    static std::function<QString(QWidget*)> ChooseRestoreFile;

    /// Called after a take-back was written (the main window reads its lists again).
    std::function<void()> AfterTakeBack;

    QTableWidget* EntryTable = nullptr;
    QTableWidget* RowTable = nullptr;
    QLabel* SummaryLabel = nullptr;
    QPushButton* TakeBackButton = nullptr;
    QPushButton* BackUpButton = nullptr;
    QPushButton* RestoreFileButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// A row of the list: an entry or a snapshot, by its index.
    struct TListed
    {
        qsizetype entry = -1;
        qsizetype snapshot = -1;
    };
    void showRows(int row);
    /// Reviews `takeBack` (read) under `title`; once applied, the list read again and
    /// `done` said.
    void review(TTakeBack& takeBack, const QString& title, const QString& done);
    /// Reviews making the line-up `then` again, the restore named `what`.
    void restore(const TLineupBackup& then, const QString& what);

    TWriteHistory* m_history;
    TSQLConnection& m_connection;
    QList<THistoryEntry> m_entries;
    QList<TSnapshot> m_snapshots;
    QList<TListed> m_listed;
};
