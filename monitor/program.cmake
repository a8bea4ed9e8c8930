# The program corvane: its application object, main window and resources.
