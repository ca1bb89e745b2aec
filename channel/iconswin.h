#pragma once

#include "channelrows.h"
#include "iconmatch.h"
#include "reviewwin.h"

class TIconStore;
class TIconsModel;

/// What Apply of the icon match writes into one channel.
struct TIconChange
{
    int row = -1; // the channel's visible row in its set
    QString icon; // the file's full path
};

/// The review of an icon match, titled "Match icons": a row per channel (its number, its
/// name, the file found with its picture, what happens, a tick), the counts, Apply and
/// Cancel. A channel without an icon is ticked when its file is a picture; one with an
/// icon keeps it unless its row is ticked; a file that is no picture cannot be ticked.
class TIconsWin : public TReviewWin
{
    Q_OBJECT

public:
    /// `iconLimit`: how many characters the icon column holds.
    TIconsWin(QList<TChannelRow> channels, QList<TIconFile> files, int iconLimit, TIconStore* store,
              QWidget* parent = nullptr);
    ~TIconsWin() override;

    /// What Apply writes, for the rows ticked now.
    QList<TIconChange> Changes() const;
    void SetTicked(int row, bool ticked) override;
    bool Ticked(int row) const override;
    /// What the row's "What happens" says.
    QString WhatHappens(int row) const;

private:
    void updateCounts();
    TIconsModel* m_model;
};
