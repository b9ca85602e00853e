#!/bin/sh
# Fails on any web or mail address in the given text files whose domain can never exist: the names reserved for
# examples and tests (.example, .invalid, .test, .localhost, example.com, example.net, example.org). Such an
# address in a package or its metainfo points software centres and users at nothing.
#   usage: placeholder_domains.sh FILE...
set -eu
found=$(grep -EHnoi '(://|@)([a-z0-9-]+\.)*((example|invalid|test|localhost)|example\.(com|net|org))([/:>" ]|$)' \
        "$@" || true)
if [ -n "$found" ]; then
    echo "addresses on a domain that cannot exist:"
    echo "$found"
    exit 1
fi
