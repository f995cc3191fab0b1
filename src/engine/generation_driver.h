#pragma once
// The generation driver ("シフト表作成"): attempts until one is accepted, the user stops, the time
// limit passes or, in best-shift mode, the stop ends an endless series of attempts; then the
// accepted table is finished and reported, or the failure is reported.
#include <cstdint>
#include <optional>

// seed makes the run repeatable (tests, benchmarks); without one the generator is mixed with the
// clock once at the start.
struct GenerationOptions {
    std::optional<std::uint64_t> seed;
};

// The whole run. The stop flag is cleared here and nowhere else; the time limit is checked on the
// run's own clock in every mode. Whatever way the run ends, the workbook's switches, the windows
// and the main window's caption are put back.
void cmd開始_Click(const GenerationOptions& options = {});
