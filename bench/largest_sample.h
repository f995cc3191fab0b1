#pragma once
// The largest sample work folder (作成例2) opened into a fresh template: xlBook and the period
// globals point at it afterwards. Opened again only when another book became current.
void openLargestSample();
