#include "site/SvgChart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "site/SiteText.h"

namespace zefa::site {

namespace {

constexpr std::string_view kAccent = "#8ab4ff";
constexpr std::string_view kRed = "#f05252";
constexpr std::string_view kGrid = "#283143";
constexpr std::string_view kWhisker = "rgba(138, 180, 255, 0.4)";  // the accent, faint
constexpr double kAcross = 1000;     // a plot's own units across, stretched to its width
constexpr double kRow = 22;          // a bar's row, in CSS pixels as every height here
constexpr double kTimeLine = 166;    // the height of the columns' plot
constexpr double kRatingLine = 206;  // the height of the rating's plot
// Labels under at most this many columns, a date each; on a narrow screen
// (the style sheet says which) the second number.
constexpr std::size_t kColumnLabels = 7;
constexpr std::size_t kNarrowColumnLabels = 4;

std::string number(double value) { return decimal(value, value == std::floor(value) ? 0 : 1); }

// The opening of every plot: stretched across, `height` pixels high, with its
// title and text alternative.
std::string openPlot(std::string_view id, std::string_view title, std::string_view description,
                     double height) {
    std::string svg = "<svg class=\"plot\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ";
    svg += number(kAcross) + " " + number(height) +
           "\" preserveAspectRatio=\"none\" width=\"100%\" height=\"" + number(height) +
           "\" role=\"img\" aria-labelledby=\"";
    svg.append(id).append("-t ").append(id).append("-d\"><title id=\"");
    svg.append(id).append("-t\">").append(plainText(title)).append("</title><desc id=\"");
    svg.append(id).append("-d\">").append(plainText(description)).append("</desc>");
    return svg;
}

// Lines keep their width however the plot is stretched.
constexpr std::string_view kFixedStroke = "\" vector-effect=\"non-scaling-stroke\"/>";

std::string line(double x1, double y1, double x2, double y2, std::string_view colour,
                 std::string_view width) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" +
           std::string(width) + "\" stroke-linecap=\"round" + std::string(kFixedStroke);
}

std::string gridLine(double y) { return line(0, y, kAcross, y, kGrid, "1"); }

std::string rect(double x, double y, double width, double height, std::string_view colour) {
    return "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" + number(width) +
           "\" height=\"" + number(height) + "\" fill=\"" + std::string(colour) + "\"/>";
}

// A label placed by `style`; its text is escaped here.
std::string label(std::string_view style, std::string_view kind, std::string_view text) {
    std::string span = "<span";
    if (!kind.empty()) span.append(" class=\"").append(kind).append("\"");
    if (!style.empty()) span.append(" style=\"").append(style).append("\"");
    return span + ">" + plainText(text) + "</span>";
}

// Labels the readers of the text alternative do not need twice.
std::string labels(std::string_view kind, std::string_view content) {
    return "<div class=\"" + std::string(kind) + "\" aria-hidden=\"true\">" + std::string(content) +
           "</div>";
}

// The values of the plot's three grid lines, top to bottom, beside it.
std::string valueAxis(const std::vector<std::string>& values) {
    std::string content;
    for (const std::string& value : values) content += label({}, {}, value);
    return labels("y-axis", content);
}

std::string percent(double share) { return number(std::round(share * 1000) / 10) + "%"; }

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
    return std::max(1.0, most);
}

// A chart without data: its title and text alternative, and the words.
std::string empty(std::string_view id, std::string_view title) {
    return "<div class=\"chart\">" + openPlot(id, title, "No data.", 0) + "</svg>" +
           labels("no-data", "No data") + "</div>";
}

}  // namespace

std::string barChart(std::string_view id, std::string_view title,
                     std::span<const ChartItem> items, BarTone tone) {
    if (items.empty()) return empty(id, title);
    const double most = largest(items);
    std::string svg = openPlot(id, title, listed(items), kRow * double(items.size()));
    std::string names, values;
    double y = 0;
    for (const ChartItem& item : items) {
        const double share = item.value / most;
        svg += rect(0, y + 4, std::max(3.0, kAcross * share), kRow - 8,
                    tone == BarTone::Kills ? kAccent : kRed);
        names += label({}, {}, item.label);
        values += label("top:" + number(y) + "px;left:" + percent(share), {}, number(item.value));
        y += kRow;
    }
    return "<div class=\"chart bars\">" + labels("bar-names", names) + "<div class=\"area\">" +
           svg + "</svg>" + labels("bar-values", values) + "</div></div>";
}

std::string columnChart(std::string_view id, std::string_view title,
                        std::span<const ChartItem> items) {
    if (items.empty()) return empty(id, title);
    const double most = largest(items);
    std::string svg = openPlot(id, title, listed(items), kTimeLine);
    std::vector<std::string> ticks;
    for (const double share : {1.0, 0.5, 0.0}) {
        if (std::floor(most * share) != most * share) continue;  // whole counts only
        svg += gridLine(kTimeLine * (1 - share));
        ticks.push_back(number(most * share));
    }
    // The first column always labelled; on a narrow screen some of those
    // labelled on a wide one.
    const auto ceiling = [](std::size_t a, std::size_t b) { return (a + b - 1) / b; };
    const std::size_t count = items.size();
    const std::size_t every = ceiling(count, kColumnLabels);
    const std::size_t narrowEvery = every * ceiling(count, every * kNarrowColumnLabels);
    const double step = kAcross / double(count);
    std::string dates;
    for (std::size_t i = 0; i < count; ++i) {
        const double height = kTimeLine * items[i].value / most;
        if (height > 0)
            svg += rect(step * (double(i) + 0.15), kTimeLine - height, step * 0.7, height, kAccent);
        if (i % every == 0)
            dates += label("left:" + percent((double(i) + 0.5) / double(count)),
                           i % narrowEvery == 0 ? "" : "wide-only", items[i].label);
    }
    return "<div class=\"chart axes\">" + valueAxis(ticks) + svg + "</svg>" +
           labels("x-axis", dates) + "</div>";
}

std::string ratingChart(std::string_view id, std::string_view title,
                        std::span<const RatingStep> steps) {
    if (steps.empty()) return empty(id, title);
    const auto top =
        std::max_element(steps.begin(), steps.end(), [](auto a, auto b) { return a.mu < b.mu; });
    const std::string description =
        "Mean rating after each of " + std::to_string(steps.size()) +
        " matches, with a band of one deviation: from " + decimal(steps.front().mu, 2) + " to " +
        decimal(steps.back().mu, 2) + ", highest " + decimal(top->mu, 2) + "; deviation now " +
        decimal(steps.back().sigma, 2) + ".";
    std::string svg = openPlot(id, title, description, kRatingLine);
    double low = steps.front().mu, high = low;
    for (const RatingStep& step : steps) {
        low = std::min(low, step.mu - step.sigma);
        high = std::max(high, step.mu + step.sigma);
    }
    low = std::floor(low) - 1;
    high = std::ceil(high) + 1;
    const double last = std::max(1.0, double(steps.size()) - 1);
    const auto x = [&](std::size_t i) { return kAcross * double(i) / last; };
    const auto y = [&](double value) { return kRatingLine * (high - value) / (high - low); };
    std::vector<std::string> ticks;
    for (const double share : {1.0, 0.5, 0.0}) {
        const double value = low + (high - low) * share;
        svg += gridLine(y(value));
        ticks.push_back(number(std::round(value)));
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
           "\" stroke-width=\"2" + std::string(kFixedStroke);
    std::string ends = label("left:0", "start", "match 1");
    if (steps.size() == 1) {  // a point with its deviation as a whisker
        const RatingStep& only = steps.front();
        svg += line(0, y(only.mu - only.sigma), 0, y(only.mu + only.sigma), kWhisker, "6");
        svg += line(0, y(only.mu), 0, y(only.mu), kAccent, "8");
    } else {
        ends += label("left:100%", "end", "match " + std::to_string(steps.size()));
    }
    return "<div class=\"chart axes\">" + valueAxis(ticks) + svg + "</svg>" +
           labels("x-axis", ends) + "</div>";
}

}  // namespace zefa::site
