"""A figure as the results keep it: the median of its runs with min and max,
every run, or the reason it could not be measured."""

import statistics


def figure(values, digits=3):
    values = [float(v) for v in values]
    if not values:
        return failed("no runs")
    r = lambda v: round(v, digits)
    return {"median": r(statistics.median(values)), "min": r(min(values)), "max": r(max(values)),
            "runs": [r(v) for v in values]}


def failed(reason):
    return {"error": reason}


def ok(fig):
    return isinstance(fig, dict) and "median" in fig


def ratios(numerators, denominators, digits=3):
    """Per-round ratios of two contenders measured side by side; a round
    whose denominator is 0 (a time below its clock's resolution) has none."""
    pairs = [(n, d) for n, d in zip(numerators, denominators) if d]
    if numerators and not pairs:
        return failed("the times were 0, below the resolution of the clock")
    fig = figure([n / d for n, d in pairs], digits)
    if len(pairs) < len(numerators):
        fig["rounds_without_a_time"] = len(numerators) - len(pairs)
    return fig


class Series:
    """Values of several contenders, round by round; a contender that fails
    once keeps its reason and takes no further values."""

    def __init__(self):
        self.values = {}
        self.errors = {}

    def add(self, name, value):
        if name not in self.errors:
            self.values.setdefault(name, []).append(value)

    def fail(self, name, reason):
        self.errors.setdefault(name, reason)
        self.values.pop(name, None)

    def has(self, name):
        return name in self.values and name not in self.errors

    def get(self, name):
        return self.values.get(name, [])

    def figure(self, name, digits=3, scale=1.0):
        if name in self.errors:
            return failed(self.errors[name])
        return figure([v * scale for v in self.values.get(name, [])], digits)

    def ratio(self, num, den, digits=3):
        for name in (num, den):
            if name in self.errors:
                return failed(self.errors[name])
        return ratios(self.values.get(num, []), self.values.get(den, []), digits)
