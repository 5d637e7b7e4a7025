#!/bin/sh
# tevuna-lunar as a user runs it: columns and texts of known dates, and refusals.
tool="$1"
failures=0
check() { # description, expected, actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}
tab=$(printf '\t')

out=$("$tool" 2024-02-09 2024-02-10)
check "exit status of a good range" 0 $?
check "header" "date${tab}lunar_year${tab}lunar_month${tab}leap${tab}lunar_day${tab}month_name${tab}day_name${tab}year_gz${tab}month_gz${tab}day_gz${tab}animal${tab}term${tab}constellation${tab}festivals${tab}era" "$(echo "$out" | sed -n 1p)"
check "除夕 2024" "2024-02-09${tab}2023${tab}12${tab}0${tab}30${tab}腊月${tab}三十${tab}甲辰${tab}丙寅${tab}癸卯${tab}兔${tab}-${tab}宝瓶${tab}除夕${tab}-" "$(echo "$out" | sed -n 2p)"
check "春节 2024" "2024-02-10${tab}2024${tab}1${tab}0${tab}1${tab}正月${tab}初一${tab}甲辰${tab}丙寅${tab}甲辰${tab}龙${tab}-${tab}宝瓶${tab}春节${tab}-" "$(echo "$out" | sed -n 3p)"
check "one line per date" 3 "$(echo "$out" | wc -l | tr -d ' ')"

check "leap month and a Gregorian festival with a term" \
    "2020-06-21${tab}2020${tab}5${tab}0${tab}1${tab}五月${tab}初一${tab}庚子${tab}壬午${tab}乙未${tab}鼠${tab}夏至${tab}双子${tab}父亲节${tab}-" \
    "$("$tool" 2020-06-21 | sed -n 2p)"
check "2025-04-27 is 三月三十" "三月${tab}三十" "$("$tool" 2025-04-27 | sed -n 2p | cut -f6,7)"
check "era by the lunar year" "[清]德宗 载湉 光绪25年" "$("$tool" 1900-01-10 | sed -n 2p | cut -f15)"
check "negative years" "-0849-01-21" "$("$tool" -0849-01-21 | sed -n 2p | cut -f1)"

# Ranges walk real days: Julian leap days are there, the ten days of October 1582 and year 0
# are not, and each lunar day follows the one before (or a new month starts).
lunar_days_follow() {
    sed 1d | cut -f5 | awk '$1 !~ /^[0-9]+$/ || (NR > 1 && $1 != prev + 1 && $1 != 1) { broken = 1 }
                            { prev = $1 } END { print broken ? "broken" : "continuous" }'
}
for range in "1500-02-28 1500-03-01|1500-02-28 1500-02-29 1500-03-01" \
             "1582-10-04 1582-10-15|1582-10-04 1582-10-15" \
             "-0001-12-31 0001-01-01|-0001-12-31 0001-01-01" \
             "-0001-02-28 -0001-03-01|-0001-02-28 -0001-02-29 -0001-03-01"; do
    args=${range%%|*}
    # shellcheck disable=SC2086
    out=$("$tool" $args)
    check "exit status of $args" 0 $?
    check "dates of $args" "${range#*|}" "$(echo "$out" | sed 1d | cut -f1 | tr '\n' ' ' | sed 's/ $//')"
    check "lunar days of $args" continuous "$(echo "$out" | lunar_days_follow)"
done
check "1901-2100 in one run" 73050 "$("$tool" 1901-01-01 2100-12-31 | wc -l | tr -d ' ')"

for args in "" "2024-02-30" "2024-13-01" "2024-1-01" "24-01-01" "2024-01-01x" "0000-01-01" \
            "-0000-01-01" "2101-01-01" "-0850-12-31" "1900-02-29" "1500-02-30" "1582-10-05" \
            "1582-10-10" "1582-10-14" "1582-10-01 1582-10-10" "2024-01-02 2024-01-01" \
            "1700-01-01 2100-12-31" "2024-01-01 2024-01-02 2024-01-03"; do
    # shellcheck disable=SC2086
    err=$("$tool" $args 2>&1 >/dev/null)
    status=$?
    check "exit status for '$args'" 2 "$status"
    check "one-line message for '$args'" 1 "$(printf '%s\n' "$err" | wc -l | tr -d ' ')"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "tevuna-lunar: all checks passed"
