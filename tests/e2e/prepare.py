"""Makes the wine template prefix the end-to-end tests copy (run once by
CTest before them)."""

import e2e_env


def main():
    xvfb, display = e2e_env.start_xvfb()
    try:
        root = e2e_env.template_root(display)
        print("wine template ready:", root)
    finally:
        xvfb.kill()


if __name__ == "__main__":
    main()
