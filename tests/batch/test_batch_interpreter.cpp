#include "BatchHarness.h"
#include "LogCapture.h"
#include "batch/BatchCommands.h"
#include "batch/CommandRegistry.h"

#include <QtTest>

#include <thread>

class TestBatchInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void parseStatements();
    void commandTable();
    void scripts_data();
    void scripts();
    void loopValues_data();
    void loopValues();
    void echo();
    void stopDuringLongCommand();
    void runawayExpansion();
    void tokens_data();
    void tokens();
    void handlersAreRegisteredOnce();
    void failures();
};

// The statement's fields: the line cut at its remark, empty items dropped, a re-parse clearing all.
void TestBatchInterpreter::parseStatements()
{
    CmdLine c(QStringLiteral("load_I1_files NEW a.tif \"C:/my data/b.tif\" # old c.tif"));
    QCOMPARE(c.rawLine, QStringLiteral("load_I1_files NEW a.tif \"C:/my data/b.tif\" # old c.tif"));
    QCOMPARE(c.line, QStringLiteral("load_I1_files NEW a.tif \"C:/my data/b.tif\" "));
    QCOMPARE(c.arguments, QStringList({"NEW", "a.tif", "C:/my data/b.tif"}));
    QVERIFY(c.command == "load_I1_files" && !c.isKeyword);
    c.parse(QStringLiteral(":FOR  L \"\" i   1 3"));
    QVERIFY(c.command == ":FOR" && c.isKeyword && c.arguments == QStringList({"L", "i", "1", "3"}));
    c.parse(QStringLiteral("# just a remark"));
    QVERIFY(c.line.isEmpty() && c.command.isEmpty() && c.arguments.isEmpty() && !c.isKeyword);
    c.parse(QStringLiteral("   "));
    QVERIFY(c.line == "   " && c.command.isEmpty() && c.arguments.isEmpty());
    c.parse(QStringLiteral("cut_f_i0 007 abc 2.5e3 1 2"));
    QCOMPARE(QVector<double>({double(c.intArg(0)), double(c.intArg(1)), double(c.intArg(9)),
                              c.realArg(2), c.realArg(1), double(c.flagArg(3)),
                              double(c.flagArg(4)), double(c.flagArg(9))}),
             QVector<double>({7, 0, 0, 2500, 0, 1, 0, 0}));
    QCOMPARE(c.arg(9), QString());
    QCOMPARE(QStringList({formatBatchCounter(5, "001"), formatBatchCounter(1234, "001"),
                          formatBatchCounter(7, "0"), formatBatchCounter(7, "10"),
                          formatBatchCounter(-1, "005")}),
             QStringList({"005", "1234", "7", "7", "-01"}));
    QCOMPARE(QMetaType::type("CmdLine"), qMetaTypeId<CmdLine>());
    QCOMPARE(qvariant_cast<CmdLine>(QVariant::fromValue(c)).arguments, c.arguments);
    // 80,000 items once took more than a minute to split.
    QString line = QStringLiteral("save_image");
    for (int i = 0; i < 80000; ++i)
        line += QStringLiteral(" a%1").arg(i);
    c.parse(line);
    QCOMPARE(QPoint(c.arguments.size(), c.arguments.last() == "a79999"), QPoint(80000, 1));
    // Continued lines are gathered into one statement, also after the last line.
    BatchRig rig;
    rig.run({"load_I1_files NEW a.tif \\", "  b.tif \\  ", "c.tif \\"});
    QCOMPARE(rig.at(0).rawLine, QStringLiteral("load_I1_files NEW a.tif   b.tif c.tif "));
}

void TestBatchInterpreter::commandTable()
{
    // Every word in its place; those after "quit" were added later.
    const QStringList words =
        QStringLiteral(
            "clear_I1_files clear_I0_files set_i1_energy_pattern set_i0_energy_pattern "
            "load_I1_files load_I0_files load_I1_files_of_pattern load_I0_files_of_pattern "
            "cut_f_i0 cut_f_i1 cut_l_i0 cut_l_i1 skip_i0 skip_i1 show_latest_i0 show_latest_i1 "
            "eng_by_name_i0 eng_by_name_i1 eng_by_name_reg_exp_i0 eng_by_name_reg_exp_i1 "
            "eng_by_name_factor_i0 eng_by_name_factor_i1 eng_by_calc_i0 eng_by_calc_i1 "
            "eng_calc_base_i0 eng_calc_base_i1 eng_calc_delta_i0 eng_calc_delta_i1 eng_calc_end_i0 "
            "eng_calc_end_i1 eng_calc_num_i0 eng_calc_num_i1 eng_calc_even_in_eng_i0 "
            "eng_calc_even_in_eng_i1 eng_calc_even_in_deg_i0 eng_calc_even_in_deg_i1 "
            "eng_calc_disp_unit_i0 eng_calc_disp_unit_i1 eng_by_ref_i0 eng_by_ref_i1 set_fluo_type "
            "set_band_w set_band_h select_disp_image seek_image save_image save_image_w_num "
            "save_all_images save_data save_data_as_tiff move_position save_spectra select_region "
            "scale_reset zoom_in xafs_view_normalize xafs_view_enerugy_correction "
            "analyzer_show_window analyzer_set_LCF_std analyzer_set_LCF_mode analyzer_exec_LCF "
            "analyzer_select_image analyzer_select_image_type analyzer_set_ra_energy "
            "analyzer_set_ra_factor analyzer_exec_ra analyzer_set_fixed_scale "
            "analyzer_set_scale_max analyzer_set_scale_min analyzer_set_dMut_scale_max "
            "analyzer_set_dMut_scale_min analyzer_set_ratio_scale_max analyzer_set_ratio_scale_min "
            "analyzer_view_normalize analyzer_view_enerugy_correction analyzer_target_elements "
            "analyzer_select_analysis_mode analyzer_elems_select_target analyzer_elems_select_show "
            "analyzer_elems_set_deVs analyzer_elems_set_corr_th analyzer_elems_select_disp_mode "
            "analyzer_elems_set_use analyzer_elems_sort_by_an analyzer_elems_roi "
            "analyzer_elems_thdmut analyzer_elems_no_neg analyzer_elems_bg_dMut "
            "analyzer_elems_bg_dMutR analyzer_elems_bg_dE analyzer_elems_bg_ROI "
            "analyzer_elems_bg_NROI analyzer_exec_elems calib_show_window calib_load_std "
            "calib_set_edge_eV calib_exec calib_load_map calib_clear_map calib_save_map "
            "saveDataCfg_show_window saveDataCfg_save_as_tiff saveDataCfg_save_as_text "
            "saveDataCfg_tiff_fix_scale saveDataCfg_tiff_scale_min saveDataCfg_tiff_scale_max "
            "saveDataCfg_tiff_as_analyzed saveDataCfg_text_as_csv saveDataCfg_text_as_ssv "
            "saveDataCfg_text_as_xyz saveDataCfg_text_as_vals quit load_dark_file clear_dark_file "
            "save_each_spectrum_kind save_each_spectrum save_flat_dark analyzer_set_LCF_range "
            "analyzer_elems_set_std analyzer_elems_std_ratio analyzer_elems_recalc_cor "
            "analyzer_elems_pre_post_de analyzer_elems_disp_on_time calib_select_crystal "
            "calib_std_bg_victoreen calib_target_bg_victoreen calib_normalize_shift "
            "deglitch_selected_map analyzer_sumup_add analyzer_sumup_del analyzer_sumup_clear "
            "analyzer_exec_sumup analyzer_capture_map analyzer_load_map analyzer_proc_type "
            "analyzer_proc_show analyzer_exec_proc_maps analyzer_show_vals exec_fourier_survey "
            "imgproc_show_window imgproc_edge_detect imgproc_binary imgproc_threshold "
            "imgproc_threshold_slider imgproc_set_ref imgproc_compare imgproc_trial_shift "
            "imgproc_auto_shift imgproc_auto_auto_shift imgproc_auto_set_shift imgproc_set_shift "
            "imgproc_clear_all_shifts collect_q_info")
            .split(' ');
    QCOMPARE(words.size(), 153);
    QCOMPARE(int(BatchCmd::Count), 153);
    for (int i = 0; i < 153; ++i) {
        const QString &w = words[i];
        QCOMPARE(QVector<int>(
                     {batchCommandId(w), batchCommandId(w.toUpper()), batchCommandId(w.toLower())}),
                 QVector<int>(3, i));
        QCOMPARE(batchCommandWord(i), w);
        // An id's name is its word without "_", so ids and words never pair by position alone.
        QCOMPARE(QString(w).remove(QLatin1Char('_')).toUpper(), batchCommandIdName(i).toUpper());
    }
    QCOMPARE(batchCommandIdName(BatchCmd::LoadI0FilesOfPattern),
             QStringLiteral("LoadI0FilesOfPattern"));
    QCOMPARE(batchCommandIdName(BatchCmd::NotFound), QString());
    QCOMPARE(QVector<int>({BatchCmd::SaveImage, BatchCmd::MovePosition, BatchCmd::Quit}),
             QVector<int>({45, 50, 111}));
    QCOMPARE(batchCommandId(QStringLiteral("Save_Spectra")), 51);
    for (const char *w : {"", "quit2", " quit", ":for"})
        QCOMPARE(batchCommandId(w), 153);
    QCOMPARE(batchCommandWord(153), QString());
    QCOMPARE(batchCommandWord(-1), QString());
    // The interpreter's own words.
    using K = BatchKeyword;
    const QStringList keywords = {":for", ":FOR", ":Next", ":echo", ":REM_START", ":rem_End",
                                  ":END", "for",  ":fore", ":",     "quit",       ""};
    const K want[] = {K::For, K::For,  K::Next, K::Echo, K::RemStart, K::RemEnd,
                      K::End, K::None, K::None, K::None, K::None,     K::None};
    for (int i = 0; i < keywords.size(); ++i)
        QCOMPARE(batchKeyword(keywords[i]), want[i]);
}

// A script's statements sent ("word|arg|...", "[line]" without a word), remark flags, batch log.
void TestBatchInterpreter::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("log");
    const char *const rows[][5] = {
        {"continued lines", "load_I1_files NEW a.tif \\\n  b.tif \\  \nc.tif \\",
         "load_I1_files|NEW|a.tif|b.tif|c.tif", ".", "load_I1_files : NEW a.tif b.tif c.tif\n"},
        {"remark after a statement", "load_I0_files NEW x.tif # was y.tif z.tif\nskip_i0 2#3",
         "load_I0_files|NEW|x.tif\nskip_i0|2", "..", "load_I0_files : NEW x.tif\nskip_i0 : 2\n"},
        {"capitals",
         ":FOR L k 1 2\nSAVE_IMAGE img_k.tif\n:NEXT L\n:ECHO done_k\n:END\nsave_image never.png",
         ":FOR|L|k|1|2\nSAVE_IMAGE|img_1.tif\n:NEXT|L\nSAVE_IMAGE|img_2.tif\n:NEXT|L\n"
         ":ECHO|done_2",
         "......",
         "for L : k = 1\nSAVE_IMAGE : img_1.tif\nnext L : k = 2\nSAVE_IMAGE : img_2.tif\n"
         "next L : k = 2\necho done_2"},
        // Arguments of a ":for" are never substituted; unknown words are not logged.
        {"substitution",
         ":for A x 1 1\n:for B y x 1\nsave_image x_x_y\nunknown_word x\nsave_image save\n"
         ":for C a 0a 0a\nsave_image a\n:for D \"\" 4 4\nsave_image z",
         ":for|A|x|1|1\n:for|B|y|x|1\nsave_image|1_1_x\nunknown_word|x\nsave_image|save\n"
         ":for|C|a|0a|0a\nsave_image|0a\n:for|D|4|4\nsave_image|z",
         ".........",
         "for A : x = 1\nfor B : y = x\nsave_image : 1_1_x\nsave_image : save\n"
         "for C : a = 0a\nsave_image : 0a\nfor D : 4 = 4\nsave_image : z\n"},
        {"remark block",
         ":rem_start\nsave_image a\n:for L i 1 3\n:next L\n:rem_end\nsave_image i\n:end\n"
         "save_image never",
         ":rem_start\nsave_image|a\n:for|L|i|1|3\n:next|L\n:rem_end\nsave_image|i", "rrrr..",
         "save_image : i\n"},
        // ":end" inside a remark block still ends the run; the next run is no remark.
        {"end in a remark block", ":REM_START\nsave_image a\n:End\nsave_image b\n=\nsave_image c",
         ":REM_START\nsave_image|a\nsave_image|c", "rr.", "save_image : c\n"},
        // A line of blanks carries an empty word: the main window reports it.
        {"blank and comment lines", "\n# comment\n#\n   \n  # note\n\t\nsave_image q",
         "[]\n[]\n[]\n[   ]\n[  ]\n[\t]\nsave_image|q", "rrr....", "save_image : q\n"},
        {"next without its loop", ":next Z\n:for L i 1 1\n:next\n:next l\nsave_image a",
         ":next|Z\n:for|L|i|1|1\n:next\n:next|l\nsave_image|a", ".....",
         "next  :  = \nfor L : i = 1\nnext  :  = \nnext  :  = \nsave_image : a\n"},
    };
    for (const auto &r : rows)
        QTest::newRow(r[0]) << r[1] << r[2] << r[3] << r[4];
}

void TestBatchInterpreter::scripts()
{
    QFETCH(QString, script);
    QFETCH(QString, sent);
    QFETCH(QString, flags);
    QFETCH(QString, log);
    BatchRig rig;
    for (const QString &run : script.split("\n=\n"))
        rig.run(run.split('\n'));
    QCOMPARE(rig.sent().join('\n'), sent);
    QCOMPARE(rig.flags(), flags);
    QCOMPARE(rig.executor.log, log);
    QVERIFY(!rig.executor.wrongThread);
}

// The first arguments of "save_image" a ":for" over v (or a script, "=" a new run) sends.
void TestBatchInterpreter::loopValues_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("values");
    QStringList to120;
    for (int i = 1; i <= 120; ++i)
        to120 << QString::asprintf("%03d", i);
    // Non-numbers count as 0, a signed step walks towards the end, zero padding keeps its width,
    // a loop keeps its last value, substitution follows declaration order, a new run forgets
    // the loops, a loop over two lines resumes after its last line, words are never substituted.
    const char *const rows[][2] = {
        {":for L v 3 1", "3 2 1"},
        {":for L v 1 10 0", "1 2 3 4 5 6 7 8 9 10"},
        {":for L v 1 10 3", "1 4 7 10"},
        {":for L v 1 9 3", "1 4 7"},
        {":for L v 10 1 4", "10 6 2"},
        {":for L v 5 5", "5"},
        {":for L v -2 1", "-2 -1 0 1"},
        {":for L v a b", "a"},
        {":for L v x 2", "x 1 2"},
        {":for L v 1 3 -1", "1 2 3"},
        {":for L v 3 1 -1", "3 2 1"},
        {":for L v 08 12", "08 09 10 11 12"},
        {":for L v 012 008", "012 011 010 009 008"},
        {":for L v 98 101", "98 99 100 101"},
        {":for L v 1 2\n:next L\nsave_image v", "2"},
        {":for OUT i 1 2\n:for IN j 1 3 2\nsave_image m_i_j.png\n:next IN\n:next OUT",
         "m_1_1.png m_1_3.png m_2_1.png m_2_3.png"},
        {":for X ii 5 5\n:for Y i 3 3\nsave_image ii\n:for X ii 5 5\nsave_image ii", "5 33"},
        {":for L k 7 7\nsave_image k\n=\nsave_image k", "7 k"},
        {":for L i \\\n 1 2\nsave_image f_i.png\n:next L\nquit", "f_1.png f_2.png"},
        {":for L save_image 1 1\nsave_image save_image", "1"}};
    for (const auto &r : rows)
        QTest::newRow(r[0]) << r[0] << r[1];
    QTest::newRow("001 to 120") << ":for L v 001 120" << to120.join(' ');
}

void TestBatchInterpreter::loopValues()
{
    QFETCH(QString, script);
    QFETCH(QString, values);
    if (!script.contains('\n'))
        script += "\nsave_image v\n:next L";
    BatchRig rig;
    for (const QString &run : script.split("\n=\n"))
        rig.run(run.split('\n'));
    QCOMPARE(rig.firstArgsOf("save_image").join(' '), values);
}

void TestBatchInterpreter::echo()
{
    LogCapture debugLog;
    BatchRig rig;
    rig.run({":for L n 1 2", ":echo value_n other", ":next L", ":echo"});
    QCOMPARE(rig.executor.log, QStringLiteral("for L : n = 1\necho value_1next L : n = 2\n"
                                              "echo value_2next L : n = 2\necho "));
    QCOMPARE(debugLog.lines(), QStringList({"echo value_1", "echo value_2", "echo "}));
    QCOMPARE(rig.sent().at(1), QStringLiteral(":echo|value_1|other"));
}

void TestBatchInterpreter::stopDuringLongCommand()
{
    BatchRig rig;
    rig.executor.holdWord = QStringLiteral("analyzer_exec_LCF");
    const QStringList script(
        {"save_image a", ":for L i 1 3", "analyzer_exec_LCF", ":next L", "save_image b"});
    rig.run(script);
    QCOMPARE(rig.sent(), QStringList({"save_image|a", ":for|L|i|1|3", "analyzer_exec_LCF"}));
    QVERIFY(rig.executor.holding);
    rig.stop();
    rig.answer();
    QCOMPARE(rig.spy->count(), 3);
    rig.run(script);
    QCOMPARE(rig.spy->count(), 6);
    rig.answer();
    QCOMPARE(rig.spy->count(), 8);
    rig.executor.holdWord.clear();
    rig.answer();
    QCOMPARE(rig.sent().mid(3), QStringList({"save_image|a", ":for|L|i|1|3", "analyzer_exec_LCF",
                                             ":next|L", "analyzer_exec_LCF", ":next|L",
                                             "analyzer_exec_LCF", ":next|L", "save_image|b"}));
}

void TestBatchInterpreter::runawayExpansion()
{
    // Each loop doubles "x": 2^19 characters pass; 2^24 once took all memory and is refused.
    for (const int loops : {19, 24}) {
        QStringList script;
        for (int i = 1; i <= loops; ++i)
            script << QStringLiteral(":for L%1 x xx xx").arg(i);
        script << "save_image x"
               << ":echo x";
        for (int i = loops; i >= 1; --i)
            script << QStringLiteral(":next L%1").arg(i);
        BatchRig rig;
        rig.run(script << "save_image done");
        QTRY_VERIFY_WITH_TIMEOUT(rig.sent().last() == "save_image|done", 60000);
        const QString err = "Err: %1 (longer than 1048576 characters with its loop values)\n";
        const bool refused = loops > 20;
        QCOMPARE(rig.firstArgsOf("save_image").size(), refused ? 1 : 2);
        QCOMPARE(QVector<bool>({rig.executor.log.contains(err.arg("save_image x")),
                                rig.executor.log.contains(err.arg(":echo x"))}),
                 QVector<bool>(2, refused));
    }
}

// The registry: "issue" a token (a, b ...), "wait X"/"end X"/"done" statements; completions.
void TestBatchInterpreter::tokens_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("answers");
    const char *const rows[][3] = {{"waits for its token", "issue;wait a;end a", "0 0 1"},
                                   {"other work ends", "issue;issue;wait a;end b;end a",
                                    "0 0 0 0 1"},
                                   {"hand-started work", "issue;wait a;end 0;end a", "0 0 0 1"},
                                   {"ended before the wait", "issue;end a;wait a", "0 0 1"},
                                   {"never issued", "wait c", "1"},
                                   {"ends once", "issue;wait a;end a;end a", "0 0 1 1"},
                                   {"next statement drops the wait", "issue;wait a;done;end a",
                                    "0 0 1 1"}};
    for (const auto &r : rows)
        QTest::newRow(r[0]) << r[1] << r[2];
}

void TestBatchInterpreter::tokens()
{
    QFETCH(QString, steps);
    QFETCH(QString, answers);
    CommandRegistry r;
    int finished = 0;
    r.setFinisher([&] { ++finished; });
    QVector<CompletionToken> issued;
    CompletionToken waitOn = 0;
    const auto token = [&](const QString &name) {
        const int i = name.at(0).unicode() - 'a';
        return name == "0" ? CompletionToken(0) : i < issued.size() ? issued[i] : 99;
    };
    r.add(BatchCmd::LoadI1Files, [&](const CmdLine &) { return CmdOutcome::waitFor(waitOn); });
    r.add(BatchCmd::SetBandW, [](const CmdLine &) { return CmdOutcome::done(); });
    QStringList got;
    for (const QString &step : steps.split(';')) {
        const QString arg = step.section(' ', 1);
        if (step == "issue")
            issued << r.issue();
        else if (step.startsWith("wait")) {
            waitOn = token(arg);
            r.dispatch(CmdLine("load_I1_files NEW x"), false);
        } else if (step.startsWith("end"))
            r.complete(token(arg));
        else
            r.dispatch(CmdLine("set_band_w 3"), false);
        got << QString::number(finished);
    }
    QCOMPARE(got.join(' '), answers);
}

void TestBatchInterpreter::handlersAreRegisteredOnce()
{
    CommandRegistry r;
    LogCapture log;
    const auto done = [](const CmdLine &) { return CmdOutcome::done(); };
    QVERIFY(r.add(BatchCmd::Quit, done) && !r.add(BatchCmd::Quit, done));
    QVERIFY(!r.add(BatchCmd::NotFound, done) && !r.add(-1, done));
    QVERIFY(r.has(BatchCmd::Quit) && !r.has(BatchCmd::SeekImage));
    QCOMPARE(log.lines(), QStringList({"Batch command quit has a handler already",
                                       QStringLiteral("Batch command id %1 cannot take a handler")
                                           .arg(int(BatchCmd::NotFound)),
                                       "Batch command id -1 cannot take a handler"}));
    int finished = 0;
    r.setFinisher([&finished] { ++finished; });
    r.dispatch(CmdLine("seek_image 3"), false);
    QCOMPARE(finished, 1);
    QCOMPARE(log.lines().last(), QStringLiteral("Batch command seek_image is not available yet"));
}

// A failed statement is marked once, when it completes, with its reason or its own last log line.
void TestBatchInterpreter::failures()
{
    CommandRegistry r;
    LogCapture log;
    QString err;
    r.setErrorLog([&err](const QString &e) { err += e; });
    CompletionToken token = 0;
    r.add(BatchCmd::SeekImage, [&](const CmdLine &c) {
        qDebug().noquote() << "mine";
        std::thread([] { qDebug().noquote() << "other"; }).join();
        if (c.intArg(0) != 2)
            return c.intArg(0) == 1 ? CmdOutcome::failed("why") : CmdOutcome::failed();
        r.fail();
        return CmdOutcome::waitFor(token = r.issue());
    });
    r.addCheck(BatchCmd::SaveImage, [](const CmdLine &c) { return c.intArg(0) == 1; });
    for (const char *s :
         {"seek_image 1 # x", "seek_image 0", "save_image 1", "save_image 0 %1", "seek_image 2"})
        r.dispatch(CmdLine(s), false);
    QCOMPARE(err, "Err: seek_image 1  (why)\nErr: seek_image 0 (mine)\n"
                  "Err: save_image 0 %1 (failed)\n");
    r.complete(token);
    QCOMPARE(err.section('\n', 3), QStringLiteral("Err: seek_image 2 (mine)\n"));
    QVERIFY(log.contains("other") && log.contains("mine"));
}

QTEST_GUILESS_MAIN(TestBatchInterpreter)
#include "test_batch_interpreter.moc"
