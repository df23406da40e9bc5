# The counted checks of the test scripts: `check NAME COMMAND...` prints
# "ok   NAME" or "FAIL NAME" and adds to $passed or $failed.
passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name"
        failed=$((failed + 1))
    fi
}
