// Driver settings of the segmented transmitter output stage turned into the
// two symbol-spaced FIR taps (main and post cursor) and the quantities the
// settings banner reports.
#pragma once

void dravelle_tx_setup(int xtx_process, double xvptx, int xtx_boost_en, double xtx_boost_lvl,
                       int xtxlvl, int xtxeq, double* tap_main, double* tap_post, int* xn_atten,
                       int* xn_switch, double* xtx_vswing, double* xn_deemph,
                       double* xtx_deemph_dB);
