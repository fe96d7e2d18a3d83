#pragma once

#include <QString>

// The command words a batch script can give to the main window, in the order
// that fixes their ids. Each id stands beside its word, so the two cannot
// drift apart; the id's name is the word without its "_" in upper camel case.
// Words are matched without regard to case. The script interpreter only asks
// whether a word is known; the main window dispatches on the id.
#define LUMENOGRAF_BATCH_COMMANDS(X) \
    X(ClearI1Files, "clear_I1_files") \
    X(ClearI0Files, "clear_I0_files") \
    X(SetI1EnergyPattern, "set_i1_energy_pattern") \
    X(SetI0EnergyPattern, "set_i0_energy_pattern") \
    X(LoadI1Files, "load_I1_files") \
    X(LoadI0Files, "load_I0_files") \
    X(LoadI1FilesOfPattern, "load_I1_files_of_pattern") \
    X(LoadI0FilesOfPattern, "load_I0_files_of_pattern") \
    X(CutFI0, "cut_f_i0") \
    X(CutFI1, "cut_f_i1") \
    X(CutLI0, "cut_l_i0") \
    X(CutLI1, "cut_l_i1") \
    X(SkipI0, "skip_i0") \
    X(SkipI1, "skip_i1") \
    X(ShowLatestI0, "show_latest_i0") \
    X(ShowLatestI1, "show_latest_i1") \
    X(EngByNameI0, "eng_by_name_i0") \
    X(EngByNameI1, "eng_by_name_i1") \
    X(EngByNameRegExpI0, "eng_by_name_reg_exp_i0") \
    X(EngByNameRegExpI1, "eng_by_name_reg_exp_i1") \
    X(EngByNameFactorI0, "eng_by_name_factor_i0") \
    X(EngByNameFactorI1, "eng_by_name_factor_i1") \
    X(EngByCalcI0, "eng_by_calc_i0") \
    X(EngByCalcI1, "eng_by_calc_i1") \
    X(EngCalcBaseI0, "eng_calc_base_i0") \
    X(EngCalcBaseI1, "eng_calc_base_i1") \
    X(EngCalcDeltaI0, "eng_calc_delta_i0") \
    X(EngCalcDeltaI1, "eng_calc_delta_i1") \
    X(EngCalcEndI0, "eng_calc_end_i0") \
    X(EngCalcEndI1, "eng_calc_end_i1") \
    X(EngCalcNumI0, "eng_calc_num_i0") \
    X(EngCalcNumI1, "eng_calc_num_i1") \
    X(EngCalcEvenInEngI0, "eng_calc_even_in_eng_i0") \
    X(EngCalcEvenInEngI1, "eng_calc_even_in_eng_i1") \
    X(EngCalcEvenInDegI0, "eng_calc_even_in_deg_i0") \
    X(EngCalcEvenInDegI1, "eng_calc_even_in_deg_i1") \
    X(EngCalcDispUnitI0, "eng_calc_disp_unit_i0") \
    X(EngCalcDispUnitI1, "eng_calc_disp_unit_i1") \
    X(EngByRefI0, "eng_by_ref_i0") \
    X(EngByRefI1, "eng_by_ref_i1") \
    X(SetFluoType, "set_fluo_type") \
    X(SetBandW, "set_band_w") \
    X(SetBandH, "set_band_h") \
    X(SelectDispImage, "select_disp_image") \
    X(SeekImage, "seek_image") \
    X(SaveImage, "save_image") \
    X(SaveImageWNum, "save_image_w_num") \
    X(SaveAllImages, "save_all_images") \
    X(SaveData, "save_data") \
    X(SaveDataAsTiff, "save_data_as_tiff") \
    X(MovePosition, "move_position") \
    X(SaveSpectra, "save_spectra") \
    X(SelectRegion, "select_region") \
    X(ScaleReset, "scale_reset") \
    X(ZoomIn, "zoom_in") \
    X(XafsViewNormalize, "xafs_view_normalize") \
    X(XafsViewEnerugyCorrection, "xafs_view_enerugy_correction") \
    X(AnalyzerShowWindow, "analyzer_show_window") \
    X(AnalyzerSetLCFStd, "analyzer_set_LCF_std") \
    X(AnalyzerSetLCFMode, "analyzer_set_LCF_mode") \
    X(AnalyzerExecLCF, "analyzer_exec_LCF") \
    X(AnalyzerSelectImage, "analyzer_select_image") \
    X(AnalyzerSelectImageType, "analyzer_select_image_type") \
    X(AnalyzerSetRaEnergy, "analyzer_set_ra_energy") \
    X(AnalyzerSetRaFactor, "analyzer_set_ra_factor") \
    X(AnalyzerExecRa, "analyzer_exec_ra") \
    X(AnalyzerSetFixedScale, "analyzer_set_fixed_scale") \
    X(AnalyzerSetScaleMax, "analyzer_set_scale_max") \
    X(AnalyzerSetScaleMin, "analyzer_set_scale_min") \
    X(AnalyzerSetDMutScaleMax, "analyzer_set_dMut_scale_max") \
    X(AnalyzerSetDMutScaleMin, "analyzer_set_dMut_scale_min") \
    X(AnalyzerSetRatioScaleMax, "analyzer_set_ratio_scale_max") \
    X(AnalyzerSetRatioScaleMin, "analyzer_set_ratio_scale_min") \
    X(AnalyzerViewNormalize, "analyzer_view_normalize") \
    X(AnalyzerViewEnerugyCorrection, "analyzer_view_enerugy_correction") \
    X(AnalyzerTargetElements, "analyzer_target_elements") \
    X(AnalyzerSelectAnalysisMode, "analyzer_select_analysis_mode") \
    X(AnalyzerElemsSelectTarget, "analyzer_elems_select_target") \
    X(AnalyzerElemsSelectShow, "analyzer_elems_select_show") \
    X(AnalyzerElemsSetDeVs, "analyzer_elems_set_deVs") \
    X(AnalyzerElemsSetCorrTh, "analyzer_elems_set_corr_th") \
    X(AnalyzerElemsSelectDispMode, "analyzer_elems_select_disp_mode") \
    X(AnalyzerElemsSetUse, "analyzer_elems_set_use") \
    X(AnalyzerElemsSortByAn, "analyzer_elems_sort_by_an") \
    X(AnalyzerElemsRoi, "analyzer_elems_roi") \
    X(AnalyzerElemsThdmut, "analyzer_elems_thdmut") \
    X(AnalyzerElemsNoNeg, "analyzer_elems_no_neg") \
    X(AnalyzerElemsBgDMut, "analyzer_elems_bg_dMut") \
    X(AnalyzerElemsBgDMutR, "analyzer_elems_bg_dMutR") \
    X(AnalyzerElemsBgDE, "analyzer_elems_bg_dE") \
    X(AnalyzerElemsBgROI, "analyzer_elems_bg_ROI") \
    X(AnalyzerElemsBgNROI, "analyzer_elems_bg_NROI") \
    X(AnalyzerExecElems, "analyzer_exec_elems") \
    X(CalibShowWindow, "calib_show_window") \
    X(CalibLoadStd, "calib_load_std") \
    X(CalibSetEdgeEV, "calib_set_edge_eV") \
    X(CalibExec, "calib_exec") \
    X(CalibLoadMap, "calib_load_map") \
    X(CalibClearMap, "calib_clear_map") \
    X(CalibSaveMap, "calib_save_map") \
    X(SaveDataCfgShowWindow, "saveDataCfg_show_window") \
    X(SaveDataCfgSaveAsTiff, "saveDataCfg_save_as_tiff") \
    X(SaveDataCfgSaveAsText, "saveDataCfg_save_as_text") \
    X(SaveDataCfgTiffFixScale, "saveDataCfg_tiff_fix_scale") \
    X(SaveDataCfgTiffScaleMin, "saveDataCfg_tiff_scale_min") \
    X(SaveDataCfgTiffScaleMax, "saveDataCfg_tiff_scale_max") \
    X(SaveDataCfgTiffAsAnalyzed, "saveDataCfg_tiff_as_analyzed") \
    X(SaveDataCfgTextAsCsv, "saveDataCfg_text_as_csv") \
    X(SaveDataCfgTextAsSsv, "saveDataCfg_text_as_ssv") \
    X(SaveDataCfgTextAsXyz, "saveDataCfg_text_as_xyz") \
    X(SaveDataCfgTextAsVals, "saveDataCfg_text_as_vals") \
    X(Quit, "quit") \
    /* Added after "quit", so the ids above stay as they are. */ \
    X(LoadDarkFile, "load_dark_file") \
    X(ClearDarkFile, "clear_dark_file") \
    X(SaveEachSpectrumKind, "save_each_spectrum_kind") \
    X(SaveEachSpectrum, "save_each_spectrum") \
    X(SaveFlatDark, "save_flat_dark") \
    X(AnalyzerSetLCFRange, "analyzer_set_LCF_range") \
    X(AnalyzerElemsSetStd, "analyzer_elems_set_std") \
    X(AnalyzerElemsStdRatio, "analyzer_elems_std_ratio") \
    X(AnalyzerElemsRecalcCor, "analyzer_elems_recalc_cor") \
    X(AnalyzerElemsPrePostDE, "analyzer_elems_pre_post_de") \
    X(AnalyzerElemsDispOnTime, "analyzer_elems_disp_on_time") \
    X(CalibSelectCrystal, "calib_select_crystal") \
    X(CalibStdBgVictoreen, "calib_std_bg_victoreen") \
    X(CalibTargetBgVictoreen, "calib_target_bg_victoreen") \
    X(CalibNormalizeShift, "calib_normalize_shift") \
    X(DeglitchSelectedMap, "deglitch_selected_map") \
    X(AnalyzerSumupAdd, "analyzer_sumup_add") \
    X(AnalyzerSumupDel, "analyzer_sumup_del") \
    X(AnalyzerSumupClear, "analyzer_sumup_clear") \
    X(AnalyzerExecSumup, "analyzer_exec_sumup") \
    X(AnalyzerCaptureMap, "analyzer_capture_map") \
    X(AnalyzerLoadMap, "analyzer_load_map") \
    X(AnalyzerProcType, "analyzer_proc_type") \
    X(AnalyzerProcShow, "analyzer_proc_show") \
    X(AnalyzerExecProcMaps, "analyzer_exec_proc_maps") \
    X(AnalyzerShowVals, "analyzer_show_vals") \
    X(ExecFourierSurvey, "exec_fourier_survey") \
    X(ImgprocShowWindow, "imgproc_show_window") \
    X(ImgprocEdgeDetect, "imgproc_edge_detect") \
    X(ImgprocBinary, "imgproc_binary") \
    X(ImgprocThreshold, "imgproc_threshold") \
    X(ImgprocThresholdSlider, "imgproc_threshold_slider") \
    X(ImgprocSetRef, "imgproc_set_ref") \
    X(ImgprocCompare, "imgproc_compare") \
    X(ImgprocTrialShift, "imgproc_trial_shift") \
    X(ImgprocAutoShift, "imgproc_auto_shift") \
    X(ImgprocAutoAutoShift, "imgproc_auto_auto_shift") \
    X(ImgprocAutoSetShift, "imgproc_auto_set_shift") \
    X(ImgprocSetShift, "imgproc_set_shift") \
    X(ImgprocClearAllShifts, "imgproc_clear_all_shifts") \
    X(CollectQInfo, "collect_q_info")

namespace BatchCmd {
enum Id : int {
#define LUMENOGRAF_BATCH_ID(id, word) id,
    // clang-format off
    LUMENOGRAF_BATCH_COMMANDS(LUMENOGRAF_BATCH_ID)
#undef LUMENOGRAF_BATCH_ID
    Count,           // the 112 words up to "quit" and those added after it
    NotFound = Count // the id of a word that is not in the table
    // clang-format on
};
} // namespace BatchCmd

// The id of a command word (any case); BatchCmd::NotFound when unknown.
int batchCommandId(const QString &word);

// The word of an id as the table spells it; empty for an id outside the table.
QString batchCommandWord(int id);

// The name of an id in the code ("LoadI1Files"); empty outside the table.
QString batchCommandIdName(int id);

// The structural words the interpreter handles itself. They all begin with ":"
// and are matched without regard to case.
enum class BatchKeyword { None, For, Next, Echo, RemStart, RemEnd, End };

// The keyword a command word stands for; BatchKeyword::None for any other word.
BatchKeyword batchKeyword(const QString &word);
