#pragma once

#include "listingsmatch.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class TListingsModel;

/// The review of a listings match, titled "Match listings": a row per channel (its
/// number, its name, the listings channel proposed or picked, what happens, a tick),
/// the counts of each state, "Fill empty icons", Apply and Cancel.
class TListingsWin : public QDialog
{
    Q_OBJECT

public:
    /// `icons` holds the channels' icons as stored (a null string for NULL).
    TListingsWin(QList<TChannelToMatch> channels, QStringList icons, QList<TListedChannel> listed,
                 TListingsLimits limits, QWidget* parent = nullptr);
    ~TListingsWin() override;

    /// What Apply writes, for the rows ticked now.
    QList<TListingsChange> Changes() const;
    /// The row's listings channel becomes `listed` (-1: none), as a pick in its list does.
    void Pick(int row, int listed);
    /// Ticks or unticks a row (a row that cannot be filled in stays unticked).
    void SetTicked(int row, bool ticked);
    bool Ticked(int row) const;
    /// What the row's "What happens" says.
    QString WhatHappens(int row) const;

    QTableView* Table = nullptr;
    QLabel* CountsLabel = nullptr;
    QCheckBox* FillIconsCheck = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateCounts();
    TListingsModel* m_model;
};
