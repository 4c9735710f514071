#!/bin/sh
# Runs one window test on its own virtual X display (Mesa's software OpenGL), with private
# runtime and cache folders so runs neither share shader caches nor warn about them.
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 0700 "$scratch/runtime"
mkdir -p "$scratch/cache/mesa"
export XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_CACHE_HOME="$scratch/cache"
export MESA_SHADER_CACHE_DIR="$scratch/cache/mesa"
xvfb-run -a -s "-screen 0 1280x800x24" "$@"
