#include "producteditwindow.h"
