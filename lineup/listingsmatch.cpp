#include "listingsmatch.h"

#include <QSet>
#include <algorithm>

namespace {

// Words that say how a channel is sent, not which channel it is.
bool isQualityWord(const QString& word)
{
    static const QSet<QString> words{
        QStringLiteral("hd"),   QStringLiteral("sd"), QStringLiteral("uhd"), QStringLiteral("fhd"),
        QStringLiteral("hdtv"), QStringLiteral("4k"), QStringLiteral("8k")};
    return words.contains(word);
}

bool kept(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('+');
}

/// The name's words, folded, split where anything but a letter, digit or "+" stands.
QStringList foldedWords(QStringView name)
{
    const QString decomposed = name.toString().normalized(QString::NormalizationForm_KD);
    QStringList words;
    QString word;
    for (const QChar c : decomposed) {
        if (c.isMark())
            continue;
        if (kept(c)) {
            word += c.toCaseFolded();
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

QString digitsOf(const QStringList& words)
{
    // The runs of digits and "+" of each word, in the (sorted) words' order.
    QStringList runs;
    for (const QString& w : words) {
        QString run;
        for (const QChar c : w) {
            if (c.isDigit() || c == QLatin1Char('+')) {
                run += c;
            } else if (!run.isEmpty()) {
                runs << run;
                run.clear();
            }
        }
        if (!run.isEmpty())
            runs << run;
    }
    return runs.join(QLatin1Char(' '));
}

QStringList coreWords(const QStringList& words)
{
    QStringList core;
    for (const QString& w : words)
        if (!isQualityWord(w))
            core << w;
    core.sort();
    core.removeDuplicates();
    return core;
}

bool includes(const QStringList& sortedOuter, const QStringList& sortedInner)
{
    return std::includes(sortedOuter.begin(), sortedOuter.end(), sortedInner.begin(),
                         sortedInner.end());
}

void addOnce(QList<int>& list, int value)
{
    if (!list.contains(value))
        list << value;
}

} // namespace

QString FoldName(QStringView name)
{
    return foldedWords(name).join(QString());
}

TListingsIndex::TListingsIndex(const QList<TListedChannel>& listed)
{
    for (int i = 0; i < listed.size(); ++i) {
        m_byId.insert(listed[i].id, i);
        for (const QString& name : listed[i].names) {
            const QStringList words = foldedWords(name);
            if (words.isEmpty())
                continue;
            addOnce(m_byName[words.join(QString())], i);
            const QStringList core = coreWords(words);
            if (core.isEmpty())
                continue;
            m_names << Name{i, core, digitsOf(core)};
            for (const QString& w : core)
                m_byWord[w] << int(m_names.size() - 1);
        }
    }
}

QList<int> TListingsIndex::exact(const QString& name) const
{
    const QString folded = FoldName(name);
    return folded.isEmpty() ? QList<int>() : m_byName.value(folded);
}

QList<int> TListingsIndex::loose(const QString& name, bool sharing) const
{
    // Never across different digits or "+": not "7TWO +1" for "7TWO", nor "Channel 3"
    // for "Channel 2".
    const QStringList core = coreWords(foldedWords(name));
    QList<int> found;
    if (core.isEmpty())
        return found;
    const QString digits = digitsOf(core);
    auto fits = [&](int n) {
        return m_names[n].digits == digits;
    };
    if (!sharing) {
        // The same words: "BBC One HD" for "BBC One".
        for (int n : m_byWord.value(core.first()))
            if (fits(n) && m_names[n].words == core)
                addOnce(found, m_names[n].channel);
        std::sort(found.begin(), found.end());
        return found;
    }
    // All words of one among the other's: "9Gem" for "9GEM Newcastle" and back. Names
    // holding every word of this one are among those holding its rarest word.
    const QList<int>* rarest = nullptr;
    for (const QString& w : core) {
        const auto it = m_byWord.constFind(w);
        if (it == m_byWord.constEnd()) {
            rarest = nullptr;
            break;
        }
        if (!rarest || it->size() < rarest->size())
            rarest = &*it;
    }
    if (rarest)
        for (int n : *rarest)
            if (fits(n) && includes(m_names[n].words, core))
                addOnce(found, m_names[n].channel);
    QHash<int, int> shared; // name -> how many of its words this one has
    for (const QString& w : core)
        for (int n : m_byWord.value(w))
            ++shared[n];
    for (auto it = shared.cbegin(); it != shared.cend(); ++it)
        if (it.value() == m_names[it.key()].words.size() && fits(it.key()))
            addOnce(found, m_names[it.key()].channel);
    std::sort(found.begin(), found.end());
    return found;
}

TChannelMatch TListingsIndex::Match(const TChannelRow& channel) const
{
    TChannelMatch match;
    const QString xmltvid = channel.xmltvid.trimmed();
    if (!xmltvid.isEmpty()) {
        const int listed = WithId(xmltvid);
        if (listed >= 0) {
            match.state = TMatchState::Kept;
            match.fit = listed;
            return match;
        }
    }
    // The long name first: short names are often shared ("ABC" for several).
    bool exactFit = true;
    QList<int> fits = exact(channel.name);
    if (fits.isEmpty())
        fits = exact(channel.callsign);
    // Then looser, each rule for the long name before the short one: the same words
    // but for quality words, then one name's words all among the other's.
    for (const bool sharing : {false, true}) {
        if (!fits.isEmpty())
            break;
        exactFit = false;
        fits = loose(channel.name, sharing);
        if (fits.isEmpty())
            fits = loose(channel.callsign, sharing);
    }
    std::sort(fits.begin(), fits.end());
    if (fits.size() == 1)
        match.fit = fits.first();
    else if (fits.size() > 1)
        match.candidates = fits;

    if (!xmltvid.isEmpty())
        match.state = TMatchState::OtherId;
    else if (fits.size() > 1)
        match.state = TMatchState::Choose;
    else if (fits.size() == 1)
        match.state = exactFit ? TMatchState::Matched : TMatchState::Suggested;
    else
        match.state = TMatchState::NoMatch;
    return match;
}

QList<TChannelMatch> MatchListings(const QList<TChannelRow>& channels,
                                   const QList<TListedChannel>& listed)
{
    const TListingsIndex index(listed);
    QList<TChannelMatch> matches;
    matches.reserve(channels.size());
    for (const TChannelRow& c : channels)
        matches << index.Match(c);
    return matches;
}
