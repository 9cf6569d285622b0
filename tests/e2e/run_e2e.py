"""Runs the end-to-end tests: python3 tests/e2e/run_e2e.py [TEST_NAME...]"""

import sys

import fixtures
import harness
import test_catalogue  # noqa: F401  (each module registers its tests)
import test_main_window  # noqa: F401
import test_deletion  # noqa: F401
import test_start_stop  # noqa: F401
import test_restoration  # noqa: F401
import test_hardening  # noqa: F401
import test_export  # noqa: F401
import test_complete_restore  # noqa: F401
import test_bitness  # noqa: F401
import test_whole_texts  # noqa: F401
import test_undo_guarantees  # noqa: F401
import test_exact_names  # noqa: F401
import test_display_scaling  # noqa: F401
import test_snapshot_guard  # noqa: F401


def main():
    harness.install_programs()
    harness.settle()
    fixtures.create_services()
    ok = harness.run_tests(set(sys.argv[1:]))
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
