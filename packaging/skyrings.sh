#!/bin/sh
# Starts the installed game from any folder.
#
# The game reads config.txt from its working directory and its data from ../resources/, so it runs
# in a small per-user tree under the cache folder:
#   $XDG_CACHE_HOME/skyrings/bin/config.txt -> $XDG_CONFIG_HOME/skyrings/config.txt (the player's copy)
#   $XDG_CACHE_HOME/skyrings/resources      -> <prefix>/share/skyrings/resources (read-only)
# The player's config.txt is copied from the shipped one on first run; the shipped one is only read.
set -eu

prefix=$(CDPATH='' cd -- "$(dirname -- "$(readlink -f -- "$0")")/.." && pwd)
shared="$prefix/share/skyrings"
config_dir="${XDG_CONFIG_HOME:-$HOME/.config}/skyrings"
run_root="${XDG_CACHE_HOME:-$HOME/.cache}/skyrings"

mkdir -p -- "$config_dir" "$run_root/bin"
if [ ! -e "$config_dir/config.txt" ]; then
    # Written beside its final name and renamed, so a game started meanwhile never reads half a file.
    cp -- "$shared/config.txt" "$config_dir/config.txt.new"
    chmod u+w -- "$config_dir/config.txt.new"
    mv -f -- "$config_dir/config.txt.new" "$config_dir/config.txt"
fi
# Re-made on every start: the prefix may have moved, or the player may have replaced a link.
ln -sfn -- "$config_dir/config.txt" "$run_root/bin/config.txt"
ln -sfn -- "$shared/resources" "$run_root/resources"

cd -- "$run_root/bin"
exec "$prefix/lib/skyrings/skyrings" "$@"
