#pragma once

#include "importplan.h"
#include "reviewwin.h"

#include <QModelIndex>

class QCheckBox;
class TImportModel;

/// The review of an import, titled "Import channels": a row a service of the file (its
/// name, the channel it updates, its frequency and PIDs, what happens, a tick), then the
/// source's channels not in the file; the counts of each, "Include radio services",
/// "Take the file's names", "Tick all not in the file", Import and Cancel.
class TImportWin : public TReviewWin
{
    Q_OBJECT

public:
    TImportWin(QList<TScannedService> services, QList<TChannelRow> channels, TCardKind cardKind,
               TImportLimits limits, QWidget* parent = nullptr);
    ~TImportWin() override;

    /// What the review plans now, ticked or not.
    const TImportPlan& Plan() const;
    /// The rows Import applies: those ticked now, in the plan's order.
    QList<TImportRow> Chosen() const;
    /// The service of `row` updates the channel `channel` (its place among the channels
    /// given; -1: a new channel), as a pick in its list does.
    void Pick(int row, int channel);
    void SetTicked(int row, bool ticked) override;
    bool Ticked(int row) const override;
    /// What the row's "What happens" says.
    QString WhatHappens(int row) const;

    QCheckBox* RadioCheck = nullptr;
    QCheckBox* TakeNamesCheck = nullptr;
    QPushButton* TickVanishedButton = nullptr;
    QPushButton* ImportButton = nullptr; // the review's Apply, named for what it does

private:
    void updateCounts();
    TImportModel* m_model;
    QModelIndex m_current; // the cursor while the rows are planned again
};
