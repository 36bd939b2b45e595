#!/usr/bin/env bash
# Writes the manual page of quorvane-batch from its own --help and --version, so
# the page never drifts from the program.
#   make-man-page.sh path/to/quorvane-batch output.1
set -euo pipefail
program=$1
out=$2
version=$("$program" --version | head -n 1)
help=$("$program" --help)
escape() { sed -e 's/\\/\\e/g' -e 's/^\./\\\&./' -e "s/^'/\\\\\\&'/"; }
{
    echo ".TH QUORVANE-BATCH 1 \"\" \"${version//\"/}\" \"User Commands\""
    echo ".SH NAME"
    echo "quorvane-batch \\- run crystal-growth simulations and experiment plans without a screen"
    echo ".SH SYNOPSIS"
    echo ".B quorvane-batch"
    echo "[\\fIOPTIONS\\fR]"
    echo ".br"
    echo ".B quorvane-batch merge"
    echo "\\fIOUTPUT\\fR \\fILOG\\fR..."
    echo ".SH DESCRIPTION"
    echo "The headless runner of Quorvane: the same data rules, Monte Carlo engine, seeds and"
    echo "run-log format as the desktop program, for job scripts and clusters."
    echo ".SH OPTIONS"
    echo ".nf"
    printf '%s\n' "$help" | escape
    echo ".fi"
    echo ".SH SEE ALSO"
    echo ".BR quorvane (1)"
} > "$out.tmp"
mv "$out.tmp" "$out"
