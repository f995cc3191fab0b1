#pragma once
// The two-day exchange passes over a finished table: member A gives B a rest day and takes one of
// B's rest days in return, so both keep their work days and shift counts. Days before Start_Day
// are never changed; every kept exchange has passed the swap check on both days and is shown on
// the shift sheet. The score comes from the optimiser's hook (optimiserSteps.全分散計算).

// Breaks rest runs longer than 連続休み上限 (nothing to do without a limit, i.e. below 1): for a
// member A resting on d inside a run above the limit, the first partner B working on d and day e
// where A holds B's shift of d and B rests, whose exchange keeps every rule on both days (the
// partner's new rest run included). The score is not consulted. Ends at the next member once
// Sw_中止 is set.
void 連続休み解消();

// Exchanges member a's rest day d with a partner working on d, for a day e on which a works and
// the partner rests, trying the partners and days in order until one exchange stays. Score mode
// keeps it only when the score, rounded to a whole number, falls below best (which then takes
// it); otherwise the first the rules allow stays. Returns best; nothing happens when a works on d
// or Sw_中止 is set.
float 休み交換_個人(int a, int d, bool scoreMode, float& best);

// n repetitions of 休み交換_個人: member 0 draws a member at random each time and runs it on every
// changeable day, otherwise it runs once for the member and day given. The best score runs on from
// call to call; the lowest reached (best when nothing lowered it) is returned. Shows "休み交換・・"
// in the optimiser window unless in background mode.
float 休み交換(int n, int member, int day, bool scoreMode, float best);
