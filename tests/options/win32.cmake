# Options against the real registry under wine.
