#include "importmatch.h"

#include "listingsmatch.h"

#include <QSet>
#include <functional>

namespace {

/// The channels by one key of a rule, and the keys a service looks them up by.
struct TRule
{
    QHash<QString, QList<int>> channels;
    std::function<QStringList(const TScannedService&)> keys;

    void Add(const QString& key, int channel)
    {
        if (key.isEmpty())
            return;
        QList<int>& list = channels[key];
        if (list.isEmpty() || list.constLast() != channel)
            list << channel;
    }
};

} // namespace

QHash<int, TServiceMatch> MatchServices(const QList<TScannedService>& services,
                                        const QList<int>& matched,
                                        const QList<TChannelRow>& channels,
                                        const QHash<int, int>& picks, int nameLimit)
{
    QHash<int, TServiceMatch> result;
    result.reserve(matched.size());
    QList<bool> taken(channels.size(), false);

    // The user's picks come first: their channels are no one else's.
    QList<int> open;
    for (int s : matched) {
        const auto pick = picks.constFind(s);
        if (pick == picks.constEnd()) {
            open << s;
            continue;
        }
        TServiceMatch& m = result[s];
        if (*pick >= 0 && *pick < channels.size() && !taken[*pick]) {
            taken[*pick] = true;
            m.channel = *pick;
        }
    }

    TRule byName, byFolded, byPids;
    byName.keys = [nameLimit](const TScannedService& s) {
        return QStringList{s.name, s.name.left(nameLimit)};
    };
    byFolded.keys = [](const TScannedService& s) {
        return QStringList{FoldName(s.name)};
    };
    byPids.keys = [](const TScannedService& s) {
        return QStringList{s.Value(QStringLiteral("pids")).value_or(QString())};
    };
    const QString pids = QStringLiteral("pids");
    for (int c = 0; c < channels.size(); ++c) {
        const TChannelRow& channel = channels[c];
        byName.Add(channel.name, c);
        byFolded.Add(FoldName(channel.name), c);
        byFolded.Add(FoldName(channel.callsign), c);
        byPids.Add(channel.tuning.value(pids).value_or(QString()), c);
    }

    QHash<int, QList<int>> candidates;
    for (const TRule* rule : {&byName, &byFolded, &byPids}) {
        QList<int> still;
        for (int s : open) {
            QList<int> found;
            for (const QString& key : rule->keys(services[s]))
                for (int c : rule->channels.value(key))
                    if (!taken[c] && !found.contains(c))
                        found << c;
            if (found.size() == 1) {
                taken[found.front()] = true;
                result[s] = TServiceMatch{found.front(), rule == &byName, {}};
                continue;
            }
            if (found.size() > 1 && !candidates.contains(s))
                candidates.insert(s, found);
            still << s;
        }
        open = still;
    }
    // What is left of the choices once every rule has taken its channels.
    for (int s : open) {
        TServiceMatch& m = result[s];
        for (int c : candidates.value(s))
            if (!taken[c])
                m.candidates << c;
    }
    return result;
}
