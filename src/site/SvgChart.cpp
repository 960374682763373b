#include "site/SvgChart.h"

#include <algorithm>
#include <cmath>

#include "site/SiteText.h"

namespace zefa::site {

namespace {

constexpr std::string_view kAccent = "#8ab4ff";
constexpr std::string_view kRed = "#f05252";
constexpr std::string_view kGrid = "#283143";
constexpr std::string_view kLabel = "#939eb1";
constexpr std::string_view kText = "#e6e9ef";
constexpr double kWidth = 640;       // bar and column charts sit two in a row
constexpr double kWideWidth = 1000;  // the rating chart has a row of its own

std::string number(double value) { return decimal(value, value == std::floor(value) ? 0 : 1); }

// The opening of every chart with its title and text alternative.
std::string open(std::string_view id, std::string_view title, std::string_view description,
                 double height, double width = kWidth) {
    std::string svg = "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ";
    svg += number(width) + " " + number(height) + "\" width=\"" + number(width) + "\" height=\"" +
           number(height) + "\" role=\"img\" aria-labelledby=\"";
    svg.append(id).append("-t ").append(id).append("-d\" font-family=\"system-ui, sans-serif\"");
    svg += " font-size=\"12\"><title id=\"";
    svg.append(id).append("-t\">").append(plainText(title)).append("</title><desc id=\"");
    svg.append(id).append("-d\">").append(plainText(description)).append("</desc>");
    return svg;
}

std::string text(double x, double y, std::string_view anchor, std::string_view colour,
                 std::string_view content) {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" +
           std::string(anchor) + "\" fill=\"" + std::string(colour) + "\">" +
           std::string(content) + "</text>";
}

std::string line(double x1, double y1, double x2, double y2) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" stroke=\"" + std::string(kGrid) + "\"/>";
}

std::string rect(double x, double y, double width, double height, std::string_view colour) {
    return "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" + number(width) +
           "\" height=\"" + number(height) + "\" fill=\"" + std::string(colour) + "\"/>";
}

std::string listed(std::span<const ChartItem> items) {
    std::string description;
    for (const ChartItem& item : items) {
        if (!description.empty()) description += "; ";
        description += item.label + ": " + number(item.value);
    }
    return description.empty() ? "No data." : description + ".";
}

double largest(std::span<const ChartItem> items) {
    double most = 0;
    for (const ChartItem& item : items) most = std::max(most, item.value);
    return most;
}

std::string empty(std::string svg, double height, double width = kWidth) {
    return svg + text(width / 2, height / 2, "middle", kLabel, "No data") + "</svg>";
}

}  // namespace

std::string barChart(std::string_view id, std::string_view title,
                     std::span<const ChartItem> items, BarTone tone) {
    constexpr double kRow = 22, kLabelWidth = 190, kValueWidth = 50;
    const double height = std::max<double>(1, static_cast<double>(items.size())) * kRow + 8;
    std::string svg = open(id, title, listed(items), height);
    if (items.empty()) return empty(std::move(svg), height);
    const double most = std::max(1.0, largest(items));
    const double span = kWidth - kLabelWidth - kValueWidth;
    double y = 4;
    for (const ChartItem& item : items) {
        svg += text(kLabelWidth - 8, y + 15, "end", kText, plainText(item.label));
        svg += rect(kLabelWidth, y + 4, std::max(1.0, span * item.value / most), kRow - 8,
                    tone == BarTone::Kills ? kAccent : kRed);
        svg += text(kLabelWidth + span * item.value / most + 6, y + 15, "start", kLabel,
                    number(item.value));
        y += kRow;
    }
    return svg + "</svg>";
}

std::string columnChart(std::string_view id, std::string_view title,
                        std::span<const ChartItem> items) {
    constexpr double kHeight = 200, kLeft = 36, kTop = 10, kBottom = 24;
    std::string svg = open(id, title, listed(items), kHeight);
    if (items.empty()) return empty(std::move(svg), kHeight);
    const double most = std::max(1.0, largest(items));
    const double plot = kHeight - kTop - kBottom;
    const double step = (kWidth - kLeft - 4) / static_cast<double>(items.size());
    for (const double share : {0.0, 0.5, 1.0}) {
        if (std::floor(most * share) != most * share) continue;  // whole counts only
        const double y = kTop + plot * (1 - share);
        svg += line(kLeft, y, kWidth - 4, y);
        svg += text(kLeft - 6, y + 4, "end", kLabel, number(most * share));
    }
    // At most about eight labels under the columns, the first one always.
    const std::size_t every = std::max<std::size_t>(1, (items.size() + 7) / 8);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double x = kLeft + step * static_cast<double>(i);
        const double height = plot * items[i].value / most;
        if (height > 0)
            svg += rect(x + step * 0.15, kTop + plot - height, std::max(1.0, step * 0.7), height,
                        kAccent);
        if (i % every == 0)
            svg += text(x + step / 2, kHeight - 8, "middle", kLabel, plainText(items[i].label));
    }
    return svg + "</svg>";
}

std::string ratingChart(std::string_view id, std::string_view title,
                        std::span<const RatingStep> steps) {
    constexpr double kHeight = 240, kLeft = 36, kTop = 10, kBottom = 24;
    std::string description = "No data.";
    if (!steps.empty()) {
        const auto high = std::max_element(steps.begin(), steps.end(),
                                           [](auto a, auto b) { return a.mu < b.mu; });
        description = "Mean rating after each of " + std::to_string(steps.size()) +
                      " matches, with a band of one deviation: from " + decimal(steps.front().mu, 2) +
                      " to " + decimal(steps.back().mu, 2) + ", highest " + decimal(high->mu, 2) +
                      "; deviation now " + decimal(steps.back().sigma, 2) + ".";
    }
    std::string svg = open(id, title, description, kHeight, kWideWidth);
    if (steps.empty()) return empty(std::move(svg), kHeight, kWideWidth);
    double low = steps.front().mu, high = low;
    for (const RatingStep& step : steps) {
        low = std::min(low, step.mu - step.sigma);
        high = std::max(high, step.mu + step.sigma);
    }
    low = std::floor(low) - 1;
    high = std::ceil(high) + 1;
    const double plot = kHeight - kTop - kBottom;
    const double stepWidth =
        (kWideWidth - kLeft - 8) / std::max(1.0, static_cast<double>(steps.size()) - 1);
    const auto x = [&](std::size_t i) { return kLeft + stepWidth * static_cast<double>(i); };
    const auto y = [&](double value) { return kTop + plot * (high - value) / (high - low); };
    for (const double share : {0.0, 0.5, 1.0}) {
        const double value = low + (high - low) * share;
        svg += line(kLeft, y(value), kWideWidth - 4, y(value));
        svg += text(kLeft - 6, y(value) + 4, "end", kLabel, number(std::round(value)));
    }
    std::string band, mean;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        band += number(x(i)) + "," + number(y(steps[i].mu + steps[i].sigma)) + " ";
        mean += number(x(i)) + "," + number(y(steps[i].mu)) + " ";
    }
    for (std::size_t i = steps.size(); i-- > 0;)
        band += number(x(i)) + "," + number(y(steps[i].mu - steps[i].sigma)) + " ";
    svg += "<polygon points=\"" + band + "\" fill=\"" + std::string(kAccent) +
           "\" fill-opacity=\"0.22\"/>";
    svg += "<polyline points=\"" + mean + "\" fill=\"none\" stroke=\"" + std::string(kAccent) +
           "\" stroke-width=\"2\"/>";
    svg += text(kLeft, kHeight - 8, "start", kLabel, "match 1");
    if (steps.size() == 1) {  // a point with its deviation as a whisker
        const RatingStep& only = steps.front();
        svg += "<line x1=\"" + number(x(0)) + "\" y1=\"" + number(y(only.mu - only.sigma)) +
               "\" x2=\"" + number(x(0)) + "\" y2=\"" + number(y(only.mu + only.sigma)) +
               "\" stroke=\"" + std::string(kAccent) + "\" stroke-width=\"6\" stroke-opacity=\"0.4\"/>";
        svg += "<circle cx=\"" + number(x(0)) + "\" cy=\"" + number(y(only.mu)) +
               "\" r=\"4\" fill=\"" + std::string(kAccent) + "\"/>";
    } else {
        svg += text(kWideWidth - 4, kHeight - 8, "end", kLabel,
                    "match " + std::to_string(steps.size()));
    }
    return svg + "</svg>";
}

}  // namespace zefa::site
