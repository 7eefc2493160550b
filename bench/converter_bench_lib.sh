# What the converter benches share, sourced at their start: the project root
# ($here), the Wine session functions, a scratch folder ($work) that goes when
# the bench ends, and Wine's path for a Unix one (winpath).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/scripts/wine-session.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
