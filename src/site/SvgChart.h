#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zefa::site {

// Charts: the plot an inline SVG element stretched to the width it is given,
// drawn in the built-in theme's colours so it reads on its dark background
// and in print (which keeps that background); the labels HTML text beside
// and under it, so they keep their size on a narrow screen, where the time
// line labels fewer columns. Each plot carries a <title> and a <desc> made
// from its data, the text alternative for readers that do not see the
// picture (the labels are hidden from them). `id` must be unique in the page
// and safe as an attribute (our own words); titles and labels may come from
// a log and are escaped.

struct ChartItem {
    std::string label;
    double value = 0;
};

struct RatingStep {
    double mu = 0;
    double sigma = 0;
};

enum class BarTone { Kills, Deaths };

// Horizontal bars, one row per item: label, bar, value.
[[nodiscard]] std::string barChart(std::string_view id, std::string_view title,
                                   std::span<const ChartItem> items, BarTone tone);

// Vertical columns in order (a time line); labels under some of them.
[[nodiscard]] std::string columnChart(std::string_view id, std::string_view title,
                                      std::span<const ChartItem> items);

// The mean after each match as a line inside its band of one deviation.
[[nodiscard]] std::string ratingChart(std::string_view id, std::string_view title,
                                      std::span<const RatingStep> steps);

}  // namespace zefa::site
