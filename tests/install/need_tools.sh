# Sourced: need_tools NAME TOOL... skips the test NAME (status 77) when one of
# the tools is not installed.
need_tools() {
    name=$1
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$name: SKIPPED: $tool is not installed (scripts/install-deps installs it)"
            exit 77
        fi
    done
}
