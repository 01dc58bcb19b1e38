#!/usr/bin/env bash
# Every program, benchmark and script answers --help with its usage on standard output and exit
# code 0, and --version with "<name> (Kelvane) <version>" and exit code 0, without a display.
# Usage: help_and_version.sh VERSION PROGRAM...
set -u
version=$1
shift
# Scripts that call a program (codec-peers calls hwl, render-farm kelvane-render) find it here.
for program in "$@"; do PATH=$(dirname "$program"):$PATH; done
source "$(dirname "$0")/../support/xtest.sh"
for program in "$@"; do
  name=$(basename "$program")
  out=$(env -u DISPLAY "$program" --help 2>/dev/null)
  check_eq "$name --help exit code" 0 $?
  check_eq "$name --help prints its usage" yes "$([ -n "$out" ] && echo yes || echo no)"
  out=$(env -u DISPLAY "$program" --version 2>/dev/null)
  check_eq "$name --version exit code" 0 $?
  check_eq "$name --version" "$name (Kelvane) $version" "$out"
done
finish
