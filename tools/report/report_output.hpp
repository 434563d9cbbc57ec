#pragma once
// The pay report as a table for people, as JSON for programs and as an SVG bar chart.

#include <ostream>

#include "report_run.hpp"

namespace tav::report {

// Writes the figures of `result`, run with `options`, as aligned text tables.
void write_table(std::ostream& out, const RunOptions& options, const RunResult& result);
// The same figures (and the full histograms) as one JSON object.
void write_json(std::ostream& out, const RunOptions& options, const RunResult& result);
// A bar chart of the resting and the finally scored position of each ring position.
void write_svg(std::ostream& out, const RunOptions& options, const RunResult& result);

} // namespace tav::report
