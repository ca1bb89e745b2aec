#pragma once

#include "reviewwin.h"

#include <memory>

class TSQLConnection;
class TTakeBack;
class TTakeBackModel;

/// "Take back": the records of a history entry, one row each, saying what taking it
/// back does; those unchanged since are ticked. Apply takes the ticked ones back in one
/// transaction, or nothing when one changed meanwhile (the rows then show how they
/// stand now, and the counts line names it).
class TTakeBackWin : public TReviewWin
{
    Q_OBJECT

public:
    /// The review of `takeBack` (read), written through `connection` from `window`;
    /// titled "Take back" unless `title` says otherwise.
    TTakeBackWin(TTakeBack& takeBack, TSQLConnection& connection, const QString& window,
                 QWidget* parent = nullptr, const QString& title = {});
    ~TTakeBackWin() override;

    void SetTicked(int row, bool ticked) override;
    bool Ticked(int row) const override;
    /// Writes the ticked records; closes the window when they were written.
    void Apply();
    /// Why the take-back written is not in the history (empty when it is).
    const QString& HistoryError() const { return m_historyError; }

    static constexpr int RecordColumn = 0, WhatColumn = 1, TickColumn = 2;

private:
    void updateCounts(const QString& before = {});

    TTakeBack& m_takeBack;
    TSQLConnection& m_connection;
    QString m_window;
    TTakeBackModel* m_model;
    QString m_historyError;
};
