#pragma once

#include "model/UntClassTOWSItem.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The nineteen customisable headings "Label1" .. "Label19". Entries are never
// added or removed; only their values change.
class TLabels {
public:
    static constexpr int Count = 19;

    // Every heading holds its default text.
    TLabels();

    // The value of the entry named "Label" + number; empty for any other name.
    QString Values(const QString& name) const;
    // Replaces the value of an existing entry; returns false for any other name.
    bool SetValues(const QString& name, const QString& value);

    // By heading number, 1 .. Count.
    const QString& Value(int number) const;
    void SetValue(int number, const QString& value);

    static QString DefaultValue(int number);

private:
    static std::optional<int> NumberOf(const QString& name);

    std::array<QString, Count> FValues;
};

// What deleting a factor took away: the factor, its position, and the
// records that named it, each with its conclusion and its place in that
// conclusion's list before the deletion. Empty for a position outside Items.
struct TItemDeletion {
    struct TRemovedRecord {
        std::size_t Guideline;
        std::size_t Place;
        TTOWSCouple Couple;
    };
    std::int32_t Position = -1;
    std::unique_ptr<TTOWSItem> Item;
    std::vector<TRemovedRecord> Removed;
};

class TDocument;

// One analysis: its title, comments, headings, factors and conclusions.
class TProject {
public:
    TProject();

    // Whether the project holds changes that no file holds. Only its
    // document (the history and saving) changes it.
    bool Modified() const { return FModified; }
    // Tells this state of the project from its earlier ones and from every
    // state of the other projects of the run: each project starts with a
    // revision of its own, and each change takes a new one.
    std::uint64_t Revision() const { return FRevision; }

    // The file the project was read from or last saved to; empty for a new
    // document.
    QString FileName;
    QString Title;
    QStringList Comments;
    // The factors of all four types, in the order they were added. A factor's
    // position here is its identity in every coupling record.
    std::vector<std::unique_ptr<TTOWSItem>> Items;
    std::vector<std::unique_ptr<TGuideline>> Guidelines;
    TLabels Labels;

    // Position of the factor in Items, by identity; -1 when it is not there.
    int IndexOfItem(const TTOWSItem* item) const;
    bool IsValidPosition(std::int32_t position) const;

    // Deletes the factor at the position and keeps every conclusion's records
    // valid: records naming it go, records naming later positions follow them.
    // Returns what went, for RestoreItem.
    TItemDeletion DeleteItem(std::int32_t position);
    // Gives back what DeleteItem took: the project is again what it was
    // before, to every record and its place.
    void RestoreItem(TItemDeletion deletion);

private:
    friend class TDocument;
    friend std::unique_ptr<TProject> CopyProject(const TProject& project);

    // Sets Modified and gives the project a new revision.
    void MarkModified();

    bool FModified = false;
    std::uint64_t FRevision;
};

// A copy of the project and of its records. Texts are shared with the
// original until either side changes them, so the copy costs little, and
// another thread may read it while the original is edited.
std::unique_ptr<TProject> CopyProject(const TProject& project);

// A coupling as enumerated from a project: the two positions and the kind.
struct TCoupling {
    std::int32_t Index1;
    std::int32_t Index2;
    TCouplingKind Kind;

    friend bool operator==(const TCoupling&, const TCoupling&) = default;
};

// Positions of the factors of the type, ascending.
std::vector<std::int32_t> PositionsOfType(const TProject& project, std::int32_t swotType);

// Positions of the factors of the type as lists and reports show them: most
// important first, equal marks in project order.
std::vector<std::int32_t> FactorsByImportance(const TProject& project, std::int32_t swotType);

// Mark of the factor at index1 times the mark of the factor at index2.
std::int64_t GetCouplingRating(const TProject& project, std::int32_t index1, std::int32_t index2);

// "rating : internal name / external name", e.g. "6 : Brand / Market".
QString GetCouplingCaption(const TProject& project, std::int32_t index1, std::int32_t index2);

// The sum of the ratings of the conclusion's records; a record held twice
// counts twice.
std::int64_t GetGuidelineWeight(const TProject& project, const TGuideline& guideline);
