// Putting an open tree's values back to what they were after a record of its
// history.
#ifndef DICOMSETTINGS_STORE_HISTORYREVERT_H
#define DICOMSETTINGS_STORE_HISTORYREVERT_H

#include "OpenTrees.h"

namespace keytreestore {

// Undoes in f's own tree, in memory, every change of the records after record
// id that took effect, newest first (recorded in f.changes, so that a save keeps
// them and replays them over another writer's version): a value goes back to its
// old text, a key created is removed with the elements that held nothing else.
// STORE_OK; STORE_E_NOT_FOUND (noted) for an id the history does not hold, or a
// key of a record that cannot name a node here, f as it was; what reading the
// history gives; STORE_E_NO_MEMORY.
int RevertTo(OpenTree& f, long long id);

}  // namespace keytreestore

#endif
