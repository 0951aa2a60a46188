# A clean, minimal Debian tree to check Vexilo in, for the scripts run by hand as root
# (check-clean-install, check-fresh-machine); sourced by them, after they define die.
#
#   tree_start NAME       a work folder ($work) that goes, with every mount and process the
#                         functions below made, when the script exits
#   tree_mirror RELEASE   the mirror this machine's apt takes bookworm's main archive from (its
#                         sources, in either format), once it is seen to serve RELEASE as well;
#                         VEXILO_MIRROR picks another
#   tree_make RELEASE     debootstrap --variant=minbase RELEASE into $tree, with /proc, /dev,
#                         /dev/pts and /sys of this machine and a /tmp of its own mounted
#   tree_run COMMAND...   COMMAND with the tree as the root of a mount namespace of its own, as
#                         a machine's processes have it: a chrooted process is refused a user
#                         namespace, which the desktop test's mutter needs
#   tree_kib              what the tree's packages take installed, in KiB, as dpkg counts it
#   tree_copy_source DIR  the committed source of this checkout (git archive HEAD) into DIR of
#                         the tree: a clean copy, never this machine's build folders
#   shot PNG COMMAND...   the command's window on a virtual X server of its own, once painted
#   step TEXT             a heading
#   stage_times LOG       the time of each stage of scripts/test, from its log with each line
#                         led by the seconds since the start: the set-up, then each stage to the
#                         next one's start (or to the log's end)

tree_mounts=()
tree_pids=()

tree_cleanup() {
  local pid i
  for pid in "${tree_pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  for ((i = ${#tree_mounts[@]} - 1; i >= 0; i--)); do umount -l "${tree_mounts[i]}" 2>/dev/null || true; done
  [[ -z ${work:-} ]] || rm -rf "$work"
}

tree_start() {
  [[ $(id -u) -eq 0 ]] || die "run as root (debootstrap, chroot and mounts)"
  work=$(mktemp -d --tmpdir "$1.XXXXXX")
  tree=$work/tree
  trap tree_cleanup EXIT
  trap 'exit 130' INT TERM
}

tree_mirror() {
  local release=$1 mirror
  mirror=${VEXILO_MIRROR:-$(apt-get indextargets --format '$(SITE) $(RELEASE) $(COMPONENT)' \
    'Identifier: Packages' | awk '$2 == "bookworm" && $3 == "main" { print $1; exit }')}
  [[ -n $mirror ]] || die "apt has no source for bookworm main here: set VEXILO_MIRROR to a Debian mirror"
  # Through apt's own fetcher, with this machine's proxy settings.
  /usr/lib/apt/apt-helper download-file "$mirror/dists/$release/Release" "$work/$release-Release" \
    >"$work/probe.log" 2>&1 || { tail -5 "$work/probe.log"; die "$mirror does not serve $release"; }
  echo "$mirror"
}

tree_mount() {  # tree_mount SOURCE TARGET [mount options...]
  mkdir -p "$2"
  mount "${@:3}" "$1" "$2"
  tree_mounts+=("$2")
}

tree_make() {
  local release=$1 mirror
  mirror=$(tree_mirror "$release")
  debootstrap --variant=minbase "$release" "$tree" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; die "debootstrap failed"; }
  local mount
  for mount in proc dev dev/pts sys; do tree_mount "/$mount" "$tree/$mount" --bind; done
  tree_mount tmpfs "$tree/tmp" -t tmpfs -o mode=1777
}

tree_run() {
  unshare --mount --propagation private --fork bash -c '
    mount --rbind "$0" "$0" && mkdir -p "$0/.oldroot" && cd "$0" && pivot_root . .oldroot &&
    exec chroot . /bin/sh -c "umount -l /.oldroot && exec \"\$@\"" sh "$@"' "$tree" "$@"
}

tree_kib() { chroot "$tree" dpkg-query -W -f '${Installed-Size}\n' | awk '{ s += $1 } END { print s }'; }

tree_copy_source() {
  mkdir -p "$tree/$1"
  git -C "$(dirname "${BASH_SOURCE[0]}")/.." archive HEAD | tar -x -C "$tree/$1"
}

step() { printf '\n==== %s\n' "$*"; }

stage_times() {
  awk '{ end = $1 }
       / ==== / {
         name = $0
         sub(/^ *[0-9]+ ==== /, "", name)
         sub(/ \(at [0-9]+ s\)$/, "", name)
         if (seen) printf "%7d s  %s\n", $1 - last, previous
         else printf "%7d s  scripts/setup\n", $1
         previous = name; last = $1; seen = 1
       }
       END { if (seen && previous != "All stages passed") printf "%7d s  %s\n", end - last, previous }' "$1"
}

shot() {
  local png=$1 display pid xvfb
  shift
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  tree_pids+=("$xvfb")
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
  display=:$(tr -dc 0-9 <"$work/display")
  : >"$work/display"
  env DISPLAY="$display" XDG_RUNTIME_DIR=/tmp "$@" >"$work/shot.log" 2>&1 &
  pid=$!
  tree_pids+=("$pid")
  sleep "${VEXILO_SHOT_WAIT:-5}"
  DISPLAY=$display import -window root "$png"
  kill "$pid" "$xvfb" 2>/dev/null
  wait "$pid" "$xvfb" 2>/dev/null || true
}

# same_picture A.png B.png: 0 pixels differ, or says how many do.
same_picture() {
  local differing
  differing=$(compare -metric AE "$1" "$2" "${1%.png}-diff.png" 2>&1 || true)
  echo "pixels that differ: $differing ($1, $2)"
  [[ $differing == 0 ]]
}
