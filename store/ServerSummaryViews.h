#pragma once

#include <string>

namespace orsan::store {

class PgSession;

// readings_hourly and readings_daily: per station, sensor and UTC hour or
// UTC day of `readings` (which holds fresh readings only), the count of
// readings and for every value its min, mean and max (t_shell_min,
// t_shell_mean, t_shell_max, acc_x_min, ...), as views a dashboard can
// query; they are always what a GROUP BY over the readings gives.
std::string SummaryViewSql(const std::string& name, const std::string& unit);

// Makes the two views when readings is there and they are not; *made tells
// whether both are there now. Empty, or a message: a login that may not
// create them is told that an administrator has to.
std::string EnsureSummaryViews(PgSession& session, bool* made);

}  // namespace orsan::store
