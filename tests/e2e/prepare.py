"""Makes the wine template prefix the end-to-end tests copy (run once by
CTest before them)."""

import os

import e2e_env


def main():
    display = os.environ.get("DISPLAY")
    xvfb = None
    if not display:
        xvfb, display = e2e_env.start_xvfb()
    try:
        root = e2e_env.template_root(display)
        print("wine template ready:", root)
    finally:
        if xvfb:
            xvfb.kill()


if __name__ == "__main__":
    main()
