#pragma once
// The largest sample work folder (作成例2) opened into a fresh template, once per benchmark run:
// xlBook and the period globals point at it afterwards.
void openLargestSample();
