x
	setAttr -s 4 ".ed";
	setAttr//Ma]" 3 2 0 3 0 0;
	setAttr ".cd"  ".ed[0:3]"
		0 1 0 1-tyêe "dataPoly 2 0 2Compone