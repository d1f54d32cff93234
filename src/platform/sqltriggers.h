// Triggers a program keeps on its own tables to watch what others write:
// each is known by its name and its whole text, and is trusted only while
// the file holds it exactly so.
#pragma once
#include <span>

#include "platform/sqlstore.h"

namespace vm::db {

struct TriggerText {
    const char* name;
    const char* sql;  // the whole CREATE TRIGGER statement
};

// Each trigger is on `table` with exactly its text.
bool TriggersInPlace(Database& db, const char* table, std::span<const TriggerText> triggers);
void DropTriggers(Database& db, std::span<const TriggerText> triggers);
// Drops and makes each again.
void MakeTriggers(Database& db, std::span<const TriggerText> triggers);

}  // namespace vm::db
