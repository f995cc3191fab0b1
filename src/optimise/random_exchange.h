#pragma once
// Random exchanges that shake a table out of a dead end: random pairs of members swap their shifts
// on a day whenever the swap check allows it, whatever the score says.

// For every day from max(firstDay, Start_Day) to lastDay (at most Day_Cnt), Member_Cnt random
// pair draws; a kept exchange goes to the shift sheet, written once at the end. Nothing happens
// (no window either) when lastDay is not above firstDay or no changeable day lies in the range.
// Ends early once Sw_中止 is set; what was kept stays.
void ランダム交換(int lastDay, int firstDay);

// n rounds of ランダム交換 over the changeable period, with the round shown in the message window;
// clears Sw_中止 first and stops after a round in which it was set; the main window then comes to
// the front.
void ランダム入替処理(int n);
