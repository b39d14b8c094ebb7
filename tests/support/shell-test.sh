# Sourced by the tests written in shell: a work folder made anew, and the
# failures counted, so that a test reports every check that failed.

fresh_work_folder() {  # folder: emptied (made where missing); prints its physical path
    rm -rf "$1" && mkdir -p "$1" && (cd "$1" && pwd -P)
}

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
