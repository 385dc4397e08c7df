#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Orvane needs to build, test and run on Debian 12.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  help2man
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libglib2.0-dev libcairo2-dev libx11-dev libxcb1-dev libxcursor-dev libxrandr-dev
  libxext-dev libzstd-dev
  dpf-source fonts-liberation2
  zenity xvfb xdotool imagemagick x11-utils
  clang libclang-rt-14-dev
  # the manual (python3-munkres satisfies fonttools without pulling in SciPy) and the package
  weasyprint python3-markdown python3-munkres poppler-utils lintian xdg-utils
  dpf-plugins-vst
  lv2-dev liblilv-dev lilv-utils sordi
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
