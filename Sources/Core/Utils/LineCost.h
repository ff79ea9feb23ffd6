#pragma once

// The money of one estimate line: the single rule behind every line figure and total, so that a
// line never shows a cost its project's total does not count.
namespace LineCost {

// hours * rate, each factor below zero or not a number counting as 0.
double clamped(double hours, double rate);

// As clamped, with a rate not above zero (or not a number) replaced by defaultRate: the rule of
// device totals and of the lists' line costs.
double withFallback(double hours, double rate, double defaultRate);

} // namespace LineCost
