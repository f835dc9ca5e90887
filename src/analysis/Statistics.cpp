#include "Statistics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace {

using Summary = Statistics::Summary;

constexpr double kZeroCelsius = 273.15;

double toKelvin(double v, bool fahrenheit) {
    return fahrenheit ? (v - 32.0) * 5.0 / 9.0 + kZeroCelsius : v + kZeroCelsius;
}

double fromKelvin(double k, bool fahrenheit) {
    return fahrenheit ? (k - kZeroCelsius) * 9.0 / 5.0 + 32.0 : k - kZeroCelsius;
}

// The most common of the intervals; ties go to the shortest.
std::optional<qint64> mostCommon(const std::map<qint64, int>& counts) {
    std::optional<qint64> best;
    int bestCount = 0;
    for (const auto& [interval, count] : counts) {
        if (count > bestCount) {
            best = interval;
            bestCount = count;
        }
    }
    return best;
}

// Sums that make a summary, kept while records are added.
class Accumulator {
public:
    explicit Accumulator(Statistics::Quantity quantity) : quantity_(quantity) {}

    void add(const TypedRecord& r) {
        const double v = r.value->value();
        values_.push_back(v);
        if (!s_.min || v < s_.min->value.value())
            s_.min = Statistics::Extreme{*r.value, r.record.value_or(0), r.time};
        if (!s_.max || v > s_.max->value.value())
            s_.max = Statistics::Extreme{*r.value, r.record.value_or(0), r.time};
        if (r.time.isValid()) {
            if (!s_.first.isValid() || r.time < s_.first)
                s_.first = r.time;
            if (!s_.last.isValid() || r.time > s_.last)
                s_.last = r.time;
        }
    }
    void addInterval(qint64 seconds) { ++intervals_[seconds]; }
    const std::map<qint64, int>& intervals() const { return intervals_; }

    Summary finish(int measurement) {
        s_.measurement = measurement;
        s_.records = int(values_.size());
        if (s_.first.isValid())
            s_.spanSeconds = s_.first.secsTo(s_.last);
        s_.intervalSeconds = mostCommon(intervals_);
        if (values_.empty())
            return s_;
        const double n = double(values_.size());
        double sum = 0;
        for (const double v : values_)
            sum += v;
        const double mean = sum / n;
        s_.mean = mean;
        if (values_.size() > 1) {
            double squares = 0;
            for (const double v : values_)
                squares += (v - mean) * (v - mean);
            s_.sd = std::sqrt(squares / (n - 1));
        }
        if (quantity_.temperature)
            s_.mkt = meanKinetic();
        return s_;
    }

private:
    // -ΔH/R / ln(mean of exp(-ΔH/(R T))), in kelvin, summed relative to the largest term so
    // that no exponential underflows. None at or below absolute zero.
    std::optional<double> meanKinetic() const {
        std::vector<double> exponents;
        exponents.reserve(values_.size());
        for (const double v : values_) {
            const double k = toKelvin(v, quantity_.fahrenheit);
            if (!(k > 0))
                return std::nullopt;
            exponents.push_back(-Statistics::kActivationKelvin / k);
        }
        const double top = *std::max_element(exponents.begin(), exponents.end());
        double sum = 0;
        for (const double e : exponents)
            sum += std::exp(e - top);
        const double logMean = top + std::log(sum / double(exponents.size()));
        return fromKelvin(-Statistics::kActivationKelvin / logMean, quantity_.fahrenheit);
    }

    Statistics::Quantity quantity_;
    std::vector<double> values_;
    std::map<qint64, int> intervals_;
    Summary s_;
};

// Records outside one side of the limits, over the measurement's readable records.
Statistics::Outside outside(const QList<const TypedRecord*>& records,
                            const std::function<bool(double)>& isOutside,
                            std::optional<qint64> interval) {
    Statistics::Outside o;
    bool inRun = false;
    for (const TypedRecord* r : records) {
        const bool out = isOutside(r->value->value());
        if (out) {
            ++o.records;
            if (!inRun) {
                ++o.excursions;
                if (!o.firstTime.isValid())
                    o.firstTime = r->time;
            }
        }
        inRun = out;
    }
    if (o.records == 0)
        o.seconds = 0;
    else if (interval)
        o.seconds = qint64(o.records) * *interval;
    return o;
}

// The whole set's side: the sums of the measurements' sides.
void addOutside(std::optional<Statistics::Outside>& total, const Statistics::Outside& part) {
    if (!total) {
        total = part;
        return;
    }
    total->records += part.records;
    total->excursions += part.excursions;
    if (total->seconds && part.seconds)
        *total->seconds += *part.seconds;
    else
        total->seconds.reset();
    if (part.firstTime.isValid() &&
        (!total->firstTime.isValid() || part.firstTime < total->firstTime))
        total->firstTime = part.firstTime;
}

} // namespace

Statistics::Quantity Statistics::Quantity::of(int measurementType, int unitCode) {
    const bool temperature = measurementType == 2 || measurementType == 3;
    return {temperature, temperature && unitCode == 0};
}

Statistics Statistics::of(const RecordView& view, Quantity quantity, const Limits& limits) {
    Statistics st;
    st.unit = view.unit;
    st.quantity = quantity;
    Accumulator whole(quantity);
    std::optional<Outside> allBelow, allAbove;
    for (qsizetype i = 0; i < view.measurements.size(); ++i) {
        const MeasurementRecords& m = view.measurements[i];
        Accumulator part(quantity);
        QList<const TypedRecord*> readable;
        const TypedRecord* previous = nullptr;
        for (const TypedRecord& r : m.records) {
            if (!r.value) {
                if (!st.firstUnreadable)
                    st.firstUnreadable = r;
                continue;
            }
            readable.append(&r);
            part.add(r);
            whole.add(r);
            if (previous && previous->time.isValid() && r.time.isValid()) {
                const qint64 step = previous->time.secsTo(r.time);
                if (step > 0) {
                    part.addInterval(step);
                    whole.addInterval(step);
                }
            }
            previous = &r;
        }
        Summary s = part.finish(m.number.value_or(int(i) + 1));
        if (limits.lower) {
            s.below = outside(
                readable, [&](double v) { return limits.below(v); }, s.intervalSeconds);
            addOutside(allBelow, *s.below);
        }
        if (limits.upper) {
            s.above = outside(
                readable, [&](double v) { return limits.above(v); }, s.intervalSeconds);
            addOutside(allAbove, *s.above);
        }
        st.measurements.append(s);
    }
    st.all = whole.finish(0);
    const Outside none{0, 0, 0, {}};
    if (limits.lower)
        st.all.below = allBelow.value_or(none);
    if (limits.upper)
        st.all.above = allAbove.value_or(none);
    return st;
}
