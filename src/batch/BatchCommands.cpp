#include "batch/BatchCommands.h"

#include <QHash>

namespace {

const char *const commandWords[] = {
    "clear_I1_files",
    "clear_I0_files",
    "set_i1_energy_pattern",
    "set_i0_energy_pattern",
    "load_I1_files",
    "load_I0_files",
    "load_I1_files_of_pattern",
    "load_I0_files_of_pattern",
    "cut_f_i0",
    "cut_f_i1",
    "cut_l_i0",
    "cut_l_i1",
    "skip_i0",
    "skip_i1",
    "show_latest_i0",
    "show_latest_i1",
    "eng_by_name_i0",
    "eng_by_name_i1",
    "eng_by_name_reg_exp_i0",
    "eng_by_name_reg_exp_i1",
    "eng_by_name_factor_i0",
    "eng_by_name_factor_i1",
    "eng_by_calc_i0",
    "eng_by_calc_i1",
    "eng_calc_base_i0",
    "eng_calc_base_i1",
    "eng_calc_delta_i0",
    "eng_calc_delta_i1",
    "eng_calc_end_i0",
    "eng_calc_end_i1",
    "eng_calc_num_i0",
    "eng_calc_num_i1",
    "eng_calc_even_in_eng_i0",
    "eng_calc_even_in_eng_i1",
    "eng_calc_even_in_deg_i0",
    "eng_calc_even_in_deg_i1",
    "eng_calc_disp_unit_i0",
    "eng_calc_disp_unit_i1",
    "eng_by_ref_i0",
    "eng_by_ref_i1",
    "set_fluo_type",
    "set_band_w",
    "set_band_h",
    "select_disp_image",
    "seek_image",
    "save_image",
    "save_image_w_num",
    "save_all_images",
    "save_data",
    "save_data_as_tiff",
    "move_position",
    "save_spectra",
    "select_region",
    "scale_reset",
    "zoom_in",
    "xafs_view_normalize",
    "xafs_view_enerugy_correction",
    "analyzer_show_window",
    "analyzer_set_LCF_std",
    "analyzer_set_LCF_mode",
    "analyzer_exec_LCF",
    "analyzer_select_image",
    "analyzer_select_image_type",
    "analyzer_set_ra_energy",
    "analyzer_set_ra_factor",
    "analyzer_exec_ra",
    "analyzer_set_fixed_scale",
    "analyzer_set_scale_max",
    "analyzer_set_scale_min",
    "analyzer_set_dMut_scale_max",
    "analyzer_set_dMut_scale_min",
    "analyzer_set_ratio_scale_max",
    "analyzer_set_ratio_scale_min",
    "analyzer_view_normalize",
    "analyzer_view_enerugy_correction",
    "analyzer_target_elements",
    "analyzer_select_analysis_mode",
    "analyzer_elems_select_target",
    "analyzer_elems_select_show",
    "analyzer_elems_set_deVs",
    "analyzer_elems_set_corr_th",
    "analyzer_elems_select_disp_mode",
    "analyzer_elems_set_use",
    "analyzer_elems_sort_by_an",
    "analyzer_elems_roi",
    "analyzer_elems_thdmut",
    "analyzer_elems_no_neg",
    "analyzer_elems_bg_dMut",
    "analyzer_elems_bg_dMutR",
    "analyzer_elems_bg_dE",
    "analyzer_elems_bg_ROI",
    "analyzer_elems_bg_NROI",
    "analyzer_exec_elems",
    "calib_show_window",
    "calib_load_std",
    "calib_set_edge_eV",
    "calib_exec",
    "calib_load_map",
    "calib_clear_map",
    "calib_save_map",
    "saveDataCfg_show_window",
    "saveDataCfg_save_as_tiff",
    "saveDataCfg_save_as_text",
    "saveDataCfg_tiff_fix_scale",
    "saveDataCfg_tiff_scale_min",
    "saveDataCfg_tiff_scale_max",
    "saveDataCfg_tiff_as_analyzed",
    "saveDataCfg_text_as_csv",
    "saveDataCfg_text_as_ssv",
    "saveDataCfg_text_as_xyz",
    "saveDataCfg_text_as_vals",
    "quit"
};
static_assert(sizeof(commandWords) / sizeof(commandWords[0]) == BatchCmd::Count,
              "one word for every command id");

// Upper-case word -> id, built on first use and read-only afterwards, so the
// batch thread and the GUI thread can both look words up.
const QHash<QString, int> &commandIds()
{
    static const QHash<QString, int> ids = [] {
        QHash<QString, int> h;
        for (int i = 0; i < BatchCmd::Count; ++i)
            h.insert(QString::fromLatin1(commandWords[i]).toUpper(), i);
        return h;
    }();
    return ids;
}

} // namespace

int batchCommandId(const QString &word)
{
    return commandIds().value(word.toUpper(), BatchCmd::NotFound);
}

QString batchCommandWord(int id)
{
    if (id < 0 || id >= BatchCmd::Count)
        return QString();
    return QString::fromLatin1(commandWords[id]);
}

BatchKeyword batchKeyword(const QString &word)
{
    static const struct {
        const char *word;
        BatchKeyword keyword;
    } keywords[] = {
        {":FOR", BatchKeyword::For},
        {":NEXT", BatchKeyword::Next},
        {":ECHO", BatchKeyword::Echo},
        {":REM_START", BatchKeyword::RemStart},
        {":REM_END", BatchKeyword::RemEnd},
        {":END", BatchKeyword::End},
    };
    if (!word.startsWith(QLatin1Char(':')))
        return BatchKeyword::None;
    const QString upper = word.toUpper();
    for (const auto &k : keywords)
        if (upper == QLatin1String(k.word))
            return k.keyword;
    return BatchKeyword::None;
}
