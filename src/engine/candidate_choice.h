#pragma once
// Filling the shifts of one day from ranked candidates: each shift gets its missing members one at
// a time, the best-ranked member every rule allows, and a member bound to a partner by a
// required pair takes the shift together with that partner.
#include "engine/model.h"

#include <QString>

// The shift types of a day in the order they are filled.
struct 勤務リスト {
    int n = 0;
    int type[TYPE_MAX + 1] = {};  // 1..n
};

// The day's trace: the failure lines of the candidate choice and the need table of a failed try;
// the generation hands it to the ring log when a day cannot be staffed.
inline QString dayPlacementLog;

// Fills every shift of list on day d up to its need. False at the first shift left short (the
// day's trace then says why); the cells placed so far stay for the caller to undo.
bool 勤務別候補選定(int d, const 勤務リスト& list);

// The member for one more slot of shift t on day d: the first of the shuffled (and, unless
// Sw_確保優先 is 2, ranked) member order that every rule allows; 0 when nobody may take it, and
// then reasons holds one line per refused member, in member order.
int 候補理由一覧(int d, int t, QString& reasons);

// The partner a required pair binds to member memNo for shift typeNo (the last other member of
// the last pair record listing memNo), 0 when none.
int Pair_Check(int memNo, long typeNo);
