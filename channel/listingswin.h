#pragma once

#include "listingsmatch.h"
#include "reviewwin.h"

#include <optional>

class QCheckBox;
class TListingsModel;

/// The review of a listings match, titled "Match listings": a row per channel (its
/// number, its name, the listings channel proposed or picked, what happens, a tick),
/// the counts of each state, "Fill empty icons", Apply and Cancel.
class TListingsWin : public TReviewWin
{
    Q_OBJECT

public:
    TListingsWin(QList<TChannelRow> channels, QList<TListedChannel> listed, TListingsLimits limits,
                 QWidget* parent = nullptr);
    ~TListingsWin() override;

    /// What Apply writes, for the rows ticked now.
    QList<TListingsChange> Changes() const;
    /// The row's listings channel becomes `listed` (-1: none), as a pick in its list does.
    void Pick(int row, int listed);
    void SetTicked(int row, bool ticked) override;
    bool Ticked(int row) const override;
    /// What the row's "What happens" says.
    QString WhatHappens(int row) const;

    QCheckBox* FillIconsCheck = nullptr;

private:
    void updateCounts();
    TListingsModel* m_model;
};
