# Lumenograf demo: the Fe K-edge experiment that make-demo-data writes into
# demo-data/ (see demo-data/README.txt). Loads both stacks, shows the spectra
# of the sample's regions and saves them into demo-results/.
# Paths are relative to the folder that holds demo-data/ and demo-results/;
# tools/demo.sh starts the program there.

# Energies from the file names: ..._7189_2500.tif is 7189.25 eV.
eng_by_name_i0
set_i0_energy_pattern (\d|)\d\d\d\d_\d\d\d\d
eng_by_name_factor_i0 1
eng_by_name_i1
set_i1_energy_pattern (\d|)\d\d\d\d_\d\d\d\d
eng_by_name_factor_i1 1

# Both stacks, each as a new one: a pattern load takes the files in name
# order, which is energy order here (frame numbers 001 .. 120 lead the names).
# I0 first, so every spectrum shown while I1 arrives has its I0. The dark
# frame demo-data/dark.tif has no command: load it by hand with "Dark Data"
# in the main window.
load_I0_files_of_pattern NEW demo-data/I0/ I0_*.tif
load_I1_files_of_pattern NEW demo-data/I1/ I1_*.tif

# Spectra of 11 x 11 pixel windows.
set_band_w 5
set_band_h 5
# Show the I1 frame at 7150 eV, just above both edges.
select_disp_image 0
seek_image 86

# Oxide block: Fe2O3-like, 0.8 thick.
move_position 94 37
save_spectra demo-results/oxide.dat
# Mixed block: metal 0.5 + oxide 0.5.
move_position 36 96
save_spectra demo-results/mixed.dat
# Thick end of the oxide wedge.
move_position 112 96
save_spectra demo-results/wedge-thick.dat
# Metal disc: Fe metal-like, 1.2 thick. The position stays here.
move_position 36 38
save_spectra demo-results/metal.dat
