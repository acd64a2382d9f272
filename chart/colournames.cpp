#include "colournames.h"

#include <QHash>
#include <QSet>

#include <algorithm>

ColourNames::Tally ColourNames::merged(const Tally &used)
{
    Tally colours;
    QHash<QRgb, int> place;
    for (const auto &[colour, cells] : used) {
        if (!colour.isValid())
            continue;
        const auto found = place.constFind(colour.rgba());
        if (found == place.constEnd()) {
            place.insert(colour.rgba(), int(colours.size()));
            colours.append({colour, cells});
        } else {
            colours[found.value()].second += cells;
        }
    }
    return colours;
}

QString ColourNames::cleaned(const QString &name)
{
    return name.simplified().left(longestName).trimmed();
}

QString ColourNames::defaultName(int index)
{
    return index == 0 ? QStringLiteral("MC") : QStringLiteral("CC%1").arg(index);
}

QList<ColourNames::Named> ColourNames::name(const Tally &used, const Given &given)
{
    Tally colours = merged(used);
    std::sort(colours.begin(), colours.end(), [](const auto &a, const auto &b) {
        if (a.second != b.second)
            return a.second > b.second;
        if (a.first.name() != b.first.name())
            return a.first.name() < b.first.name();
        return a.first.rgba() < b.first.rgba();
    });
    // A name such as "MC: Slate" or "CC1 (Coral)" takes its default too.
    QSet<QString> taken;
    for (const auto &entry : std::as_const(colours)) {
        const QString own = given.value(entry.first.rgba());
        if (own.isEmpty())
            continue;
        taken.insert(own.toCaseFolded());
        int word = 0;
        while (word < own.size() && own.at(word).isLetterOrNumber())
            ++word;
        taken.insert(own.left(word).toCaseFolded());
    }
    QList<Named> named;
    int next = 0;
    for (const auto &entry : std::as_const(colours)) {
        const QString own = given.value(entry.first.rgba());
        if (!own.isEmpty()) {
            named.append({entry.first, own, true});
            continue;
        }
        while (taken.contains(defaultName(next).toCaseFolded()))
            ++next;
        named.append({entry.first, defaultName(next++), false});
    }
    return named;
}

QList<ColourNames::Named> ColourNames::forKey(const Tally &used, const Given &given)
{
    QList<Named> named = name(used, given);
    const bool anyGiven = std::any_of(named.cbegin(), named.cend(), [](const Named &colour) { return colour.given; });
    if (named.size() < 2 && !anyGiven)
        named.clear();
    return named;
}
