#pragma once
// Random exchanges that shake a table out of a dead end: random pairs of members swap their shifts
// on a day whenever the swap check allows it, whatever the score says.

// For every day from max(firstDay, Start_Day) to lastDay (at most Day_Cnt), Member_Cnt random
// pair draws; a kept exchange goes to the shift sheet, written once at the end. Nothing happens
// (no window either) when lastDay is not above firstDay or no changeable day lies in the range.
// Ends early once Sw_中止 is set; what was kept stays.
void ランダム交換(int lastDay, int firstDay);

// n rounds of ランダム交換 over the changeable period (Start_Day to Day_Cnt), with the round shown
// in the message window and calculation and events off for the rounds (the workbook's switches
// are put back afterwards). Leaves Sw_中止 as it finds it, so a stop raised before the rounds
// ends them after the first: clearing it is the caller's run's business. Stops after a round in
// which Sw_中止 was set; the main window then comes to the front.
void ランダム入替処理(int n);
